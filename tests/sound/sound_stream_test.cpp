// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "text/error.h"
#include "stream_builder.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Bytes;
using testing::Cp;
using testing::MonoWave;

const std::vector<std::uint8_t> SomeSamples{1, 0, 2, 0, 3, 0, 4, 0};

// One sound with every property, in the order the generator writes them.
Bytes SmallValidStream()
{
    Bytes stream;
    stream.Header().ListStart().ItemStart();
    stream.Name("Name").String("beep");
    stream.Name("Looped").True();
    stream.Name("MaxPlayingCount").Int8(3);
    stream.Name("Wave.WAVE").Binary(MonoWave(SomeSamples));
    stream.End().Footer();
    return stream;
}

std::string ErrorOf(const std::vector<std::uint8_t>& stream)
{
    try {
        ReadSoundStream(stream);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(SoundStream, ReadsEveryPropertyOfAnItem)
{
    auto sounds = ReadSoundStream(SmallValidStream().data);

    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].name, "beep");
    EXPECT_TRUE(sounds[0].looped);
    EXPECT_EQ(sounds[0].maxPlayingCount, 3);
    EXPECT_EQ(sounds[0].wave.samples, SomeSamples);
    ASSERT_TRUE(sounds[0].wave.Format());
    EXPECT_EQ(sounds[0].wave.Format()->samplesPerSec, 22050u);
    EXPECT_EQ(sounds[0].wave.Format()->bitsPerSample, 16);
}

TEST(SoundStream, TakesPropertiesInAnyOrderAndKeepsInitialValuesOfMissingOnes)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Wave.WAVE").Binary(MonoWave(SomeSamples)).Name("MaxPlayingCount").Int8(2);
    stream.Name("Looped").True().Name("Name").String("first").End();
    stream.ItemStart().Name("Name").String("second").End();
    stream.ItemStart().End();
    stream.Footer();

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0].name, "first");
    EXPECT_TRUE(sounds[0].looped);
    EXPECT_EQ(sounds[0].maxPlayingCount, 2);
    EXPECT_EQ(sounds[0].wave.samples, SomeSamples);
    EXPECT_EQ(sounds[1].name, "second");
    EXPECT_FALSE(sounds[1].looped);
    EXPECT_EQ(sounds[1].maxPlayingCount, 0);
    EXPECT_TRUE(sounds[1].wave.Empty());
    EXPECT_EQ(sounds[2].name, "");
}

TEST(SoundStream, SkipsTheFlagsByteAndTheChildPositionAfterIt)
{
    for (std::uint8_t flags : {0xF0, 0xF1, 0xF4}) {
        Bytes stream;
        stream.Text("TPF0").U8(flags).Name("TWaveCollectionComponent").Name("").ListStart();
        stream.ItemStart().Name("Name").String("x").End().Footer();
        auto sounds = ReadSoundStream(stream.data);
        ASSERT_EQ(sounds.size(), 1u) << int{flags};
        EXPECT_EQ(sounds[0].name, "x");
    }
    // With bit 1 set an integer follows the flags, in any of its widths.
    Bytes withPosition;
    withPosition.Text("TPF0").U8(0xF2).Int16(513).Name("TWaveCollectionComponent").Name("s").ListStart();
    withPosition.ItemStart().Name("Name").String("y").End().Footer();
    EXPECT_EQ(ReadSoundStream(withPosition.data).at(0).name, "y");
}

TEST(SoundStream, AClassNameLengthWithoutAllHighBitsIsNotAFlagsByte)
{
    std::string longClass(0xE0, 'C');
    Bytes stream;
    stream.Text("TPF0").Name(longClass).Name("obj").ListStart().ItemStart().Name("Name").String("z").End().Footer();
    EXPECT_EQ(ReadSoundStream(stream.data).at(0).name, "z");
}

TEST(SoundStream, ReadsNamesOfEveryStringKindAsWindows1250)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Name").String(Cp("kůň")).End();
    stream.ItemStart().Name("Name").LongString(std::string(300, 'a')).End();
    stream.ItemStart().Name("Name").WideString(u"žluťoučký").End();
    stream.ItemStart().Name("Name").Utf8String("Příliš").End();
    // Outside the code page and a lone surrogate: one "?" each.
    stream.ItemStart().Name("Name").WideString(u"a\U0001F600b\xD800").End();
    stream.Footer();

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 5u);
    EXPECT_EQ(sounds[0].name, Cp("kůň"));
    EXPECT_EQ(sounds[1].name, std::string(300, 'a'));
    EXPECT_EQ(sounds[2].name, Cp("žluťoučký"));
    EXPECT_EQ(sounds[3].name, Cp("Příliš"));
    EXPECT_EQ(sounds[4].name, "a?b?");
}

TEST(SoundStream, ReadsItemsWithAndWithoutTheirIntegerPrefix)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Name").String("none").End();
    stream.Int8(1).ItemStart().Name("Name").String("int8").End();
    stream.Int16(-2).ItemStart().Name("Name").String("int16").End();
    stream.Int32(100000).ItemStart().Name("Name").String("int32").End();
    stream.Footer();

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 4u);
    EXPECT_EQ(sounds[0].name, "none");
    EXPECT_EQ(sounds[1].name, "int8");
    EXPECT_EQ(sounds[2].name, "int16");
    EXPECT_EQ(sounds[3].name, "int32");
}

TEST(SoundStream, ReadsMaxPlayingCountOfEveryWidthAndStoresNegativeAsZero)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("MaxPlayingCount").Int8(-1).End();
    stream.ItemStart().Name("MaxPlayingCount").Int16(300).End();
    stream.ItemStart().Name("MaxPlayingCount").Int32(70000).End();
    stream.ItemStart().Name("MaxPlayingCount").Int32(-70000).End();
    stream.ItemStart().Name("MaxPlayingCount").Int16(-32768).End();
    stream.Footer();

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 5u);
    EXPECT_EQ(sounds[0].maxPlayingCount, 0);
    EXPECT_EQ(sounds[1].maxPlayingCount, 300);
    EXPECT_EQ(sounds[2].maxPlayingCount, 70000);
    EXPECT_EQ(sounds[3].maxPlayingCount, 0);
    EXPECT_EQ(sounds[4].maxPlayingCount, 0);
}

TEST(SoundStream, LoopedIsTrueOnlyForTheTrueValueAndAnyOtherValueIsSkippedWhole)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Looped").True().Name("Name").String("true").End();
    stream.ItemStart().Name("Looped").False().Name("Name").String("false").End();
    stream.ItemStart().Name("Looped").Int32(1).Name("Name").String("int").End();
    stream.ItemStart().Name("Looped").String("True").Name("Name").String("text").End();
    stream.Footer();

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 4u);
    EXPECT_TRUE(sounds[0].looped);
    EXPECT_FALSE(sounds[1].looped);
    EXPECT_FALSE(sounds[2].looped);
    EXPECT_FALSE(sounds[3].looped);
    EXPECT_EQ(sounds[2].name, "int");
    EXPECT_EQ(sounds[3].name, "text");
}

TEST(SoundStream, SkipsOtherPropertiesOfEveryValueTypeAndChildObjects)
{
    Bytes stream;
    stream.Header();
    stream.Name("Tag").Int32(7).Name("Small").Int8(-1).Name("Mid").Int16(1000);
    stream.Name("Hint").String("h").Name("Long").LongString("long").Name("Wide").WideString(u"wide");
    stream.Name("Utf").Utf8String("utf").Name("On").True().Name("Off").False().Name("Nothing").End();
    stream.Name("Data").Binary(std::vector<std::uint8_t>{0, 1, 2, 0, 0});
    stream.Name("Nested").U8(1).Int8(1).U8(1).String("x").End().LongString("y").End();
    stream.Name("Other").U8(14).ItemStart().Name("A").Int8(1).Name("B").U8(14).ItemStart().End().End().End();
    stream.Int8(4).ItemStart().End().End();
    stream.ListStart().Int8(0).ItemStart().Name("Name").String("kept").Name("Extra").LongString("e").End();
    stream.End();  // the collection
    stream.End();  // the root's properties
    // A child with a flags byte, a property and a child of its own.
    stream.U8(0xF0).Name("TChild").Name("c").Name("List").U8(14).ItemStart().Name("Name").String("no").End().End();
    stream.End();
    stream.Name("TGrandChild").Name("").End().End();
    stream.End();
    stream.End();  // the root's children

    auto sounds = ReadSoundStream(stream.data);

    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].name, "kept");
}

TEST(SoundStream, AWrongSignatureIsAnInvalidStreamFormat)
{
    auto stream = SmallValidStream().data;
    stream[3] = '1';
    EXPECT_EQ(ErrorOf(stream), "Invalid stream format");
    EXPECT_EQ(ErrorOf({'T', 'P', 'F'}), "Invalid stream format");
    EXPECT_EQ(ErrorOf({}), "Invalid stream format");
}

TEST(SoundStream, AnUnknownValueTypeIsNamedWithItsPlace)
{
    Bytes stream;
    stream.Header().Name("Odd");
    std::size_t at = stream.data.size();
    stream.U8(5).U32(0).U32(0).U16(0).ListStart().Footer();

    EXPECT_EQ(ErrorOf(stream.data), "Invalid stream format: unknown value type 5 (at byte " + std::to_string(at) + ")");
}

TEST(SoundStream, RejectsStructuresOfTheWrongKind)
{
    Bytes listNotCollection;
    listNotCollection.Header().Name("List").U8(1).End().End().End();
    EXPECT_NE(ErrorOf(listNotCollection.data).find("\"List\" is not a collection"), std::string::npos);

    Bytes itemWithoutList;
    itemWithoutList.Header().ListStart().String("item").End().End().End();
    EXPECT_NE(ErrorOf(itemWithoutList.data).find("does not start with a list"), std::string::npos);

    Bytes nameNotString;
    nameNotString.Header().ListStart().ItemStart().Name("Name").Int8(1).End().Footer();
    EXPECT_NE(ErrorOf(nameNotString.data).find("\"Name\" is not a string"), std::string::npos);

    Bytes waveNotBinary;
    waveNotBinary.Header().ListStart().ItemStart().Name("Wave.WAVE").String("RIFF").End().Footer();
    EXPECT_NE(ErrorOf(waveNotBinary.data).find("\"Wave.WAVE\" is not binary data"), std::string::npos);
}

TEST(SoundStream, LengthsLargerThanTheFileAreRefusedBeforeAnythingIsAllocated)
{
    for (std::uint8_t type : {10, 12, 18, 20}) {
        Bytes stream;
        stream.Header().Name("Huge").U8(type).U32(0xFFFFFFFF).Text("abc");
        std::string error = ErrorOf(stream.data);
        EXPECT_EQ(error.rfind("Invalid stream format: ", 0), 0u) << error;
        EXPECT_NE(error.find("only 3 are left"), std::string::npos) << error;
    }
    Bytes hugeWave;
    hugeWave.Header().ListStart().ItemStart().Name("Wave.WAVE").U8(10).U32(0x7FFFFFFF).Text("RIFF");
    EXPECT_EQ(ErrorOf(hugeWave.data).rfind("Invalid stream format: ", 0), 0u);
}

TEST(SoundStream, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    Bytes lists;
    lists.Header().Name("Deep");
    for (int i = 0; i < 100000; ++i)
        lists.U8(1);
    EXPECT_NE(ErrorOf(lists.data).find("nested more than"), std::string::npos);

    Bytes children;
    children.Text("TPF0");
    for (int i = 0; i < 100000; ++i)
        children.Name("C").Name("").End();
    EXPECT_NE(ErrorOf(children.data).find("nested more than"), std::string::npos);
}

TEST(SoundStream, EveryTruncationOfAValidFileRaisesAnError)
{
    auto stream = SmallValidStream().data;
    ASSERT_NO_THROW(ReadSoundStream(stream));
    for (std::size_t length = 0; length < stream.size(); ++length) {
        std::vector<std::uint8_t> cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(ReadSoundStream(cut), Error) << "cut at " << length;
    }
}

TEST(SoundStream, AWaveWithoutRiffAndWaveIsInvalidAndTheNextItemIsStillRead)
{
    auto wave = MonoWave(SomeSamples);
    wave[0] = 'X';
    Bytes stream;
    stream.Header().ListStart().ItemStart().Name("Wave.WAVE").Binary(wave).Name("Name").String("bad").End();
    stream.ItemStart().Name("Name").String("good").Name("Wave.WAVE").Binary(MonoWave(SomeSamples)).End().Footer();
    auto sounds = ReadSoundStream(stream.data);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].name, "bad");
    EXPECT_EQ(sounds[0].damage, "Wave is invalid");
    EXPECT_EQ(sounds[1].name, "good");
    EXPECT_EQ(sounds[1].damage, "");
    EXPECT_EQ(sounds[1].wave.samples, SomeSamples);
}

} // namespace
} // namespace orbela
