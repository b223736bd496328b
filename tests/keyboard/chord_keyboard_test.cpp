// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/chord_keyboard.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "keyboard/braille_table.h"

namespace orbela {
namespace {

namespace vk = VirtualKey;

constexpr int ShiftKey = 0x10;
constexpr int EnterKey = 0x0D;
constexpr int AKey = 0x41;
constexpr int DigitOneKey = 0x31;

KeyStateTable Held(std::initializer_list<int> keys)
{
    KeyStateTable state;
    for (int key : keys)
        state.KeyPressed(key);
    return state;
}

TEST(ReadChord, DotsComeInAscendingOrderWhateverTheOrderOfPressing)
{
    EXPECT_EQ(ReadChord(Held({vk::J, vk::D, vk::F})), "124");
    EXPECT_EQ(ReadChord(Held({vk::L, vk::S, vk::K})), "356");
    EXPECT_EQ(ReadChord(Held({vk::L, vk::F})), "16");
    EXPECT_EQ(ReadChord(Held({vk::K})), "5");
    EXPECT_EQ(ReadChord(Held({vk::F, vk::D, vk::S, vk::J, vk::K, vk::L})), "123456");
}

TEST(ReadChord, DotsTakePrecedenceOverSpace)
{
    EXPECT_EQ(ReadChord(Held({vk::F, vk::Space})), "1");
    EXPECT_EQ(ReadChord(Held({vk::Space, vk::L})), "6");
    EXPECT_EQ(ReadChord(Held({vk::Space})), " ");
}

TEST(ReadChord, OtherKeysTakeNoPart)
{
    EXPECT_EQ(ReadChord(Held({})), "");
    EXPECT_EQ(ReadChord(Held({AKey, DigitOneKey, ShiftKey, EnterKey})), "");
    EXPECT_EQ(ReadChord(Held({ShiftKey, vk::S, AKey})), "3");
    EXPECT_EQ(ReadChord(Held({ShiftKey, vk::Space})), " ");
}

TEST(KeyStateTable, AutoRepeatReleaseLeavesTheKeyDown)
{
    KeyStateTable state;
    state.KeyPressed(vk::F);
    state.KeyReleased(vk::F, true);
    EXPECT_TRUE(state.IsDown(vk::F));
    state.KeyReleased(vk::F, false);
    EXPECT_FALSE(state.IsDown(vk::F));
    // Codes beyond the table, such as Qt's own key numbers, are never down.
    state.KeyPressed(0x1000020);
    EXPECT_FALSE(state.IsDown(0x1000020));
}

const char* const Letters =
    "[prefixes]\n#cap=6\n#num=3456\n"
    "[characters]\na=1\nb=12\nf=124\n"
    "[#cap]\nA=1\nB=12\n"
    "[#num]\n1=1\n2=12\n";

// Drives the chord cycle as the data-entry field's key events do: every press
// is a character event, every release a key release.
class ChordTyping : public ::testing::Test {
protected:
    ChordTyping() { table_.LoadBrailleTableText(Letters); }

    std::string Press(int key)
    {
        keys_.KeyPressed(key);
        return chords_.ChordKeyPressed(keys_);
    }
    std::string Release(int key, KeyRelease release = KeyRelease::Real)
    {
        keys_.KeyReleased(key, release == KeyRelease::AutoRepeat);
        return chords_.ChordKeyReleased(release);
    }
    // Presses the keys one after another, then releases them in the same
    // order; returns what the releases insert.
    std::string Chord(std::initializer_list<int> keys)
    {
        for (int key : keys)
            Press(key);
        std::string inserted;
        for (int key : keys)
            inserted += Release(key);
        return inserted;
    }

    BrailleTable table_;
    KeyStateTable keys_;
    ChordKeyboard chords_{table_};
};

TEST_F(ChordTyping, ChordIsEchoedAsItGrowsAndInsertedOnceAtTheFirstRelease)
{
    EXPECT_EQ(Press(vk::F), "a");
    EXPECT_EQ(Press(vk::D), "b");
    EXPECT_EQ(Press(vk::J), "f");
    EXPECT_EQ(chords_.dotpattern(), "124");
    EXPECT_EQ(Release(vk::D), "f");
    EXPECT_EQ(chords_.dotpattern(), "");
    EXPECT_EQ(Release(vk::J), "");
    EXPECT_EQ(Release(vk::F), "");
}

TEST_F(ChordTyping, AutoRepeatNeverCompletesAChord)
{
    EXPECT_EQ(Press(vk::F), "a");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Release(vk::F, KeyRelease::AutoRepeat), "");
        EXPECT_EQ(Press(vk::F), "a");
    }
    // Adding a key after a while of repeating still grows the chord.
    EXPECT_EQ(Press(vk::D), "b");
    EXPECT_EQ(Release(vk::D, KeyRelease::AutoRepeat), "");
    EXPECT_EQ(chords_.dotpattern(), "12");
    EXPECT_EQ(Release(vk::F), "b");
    EXPECT_EQ(Release(vk::D), "");
}

TEST_F(ChordTyping, SpaceHeldUnderADotStaysTheDot)
{
    Press(vk::F);
    EXPECT_EQ(Press(vk::Space), "a");
    EXPECT_EQ(Release(vk::Space), "a");
    EXPECT_EQ(Release(vk::F), "");
}

TEST_F(ChordTyping, CapitalSignIsSilentAndMakesOneCapital)
{
    EXPECT_EQ(Press(vk::L), "");
    EXPECT_EQ(Release(vk::L), "");
    EXPECT_EQ(chords_.dialogprefix(), "#cap");
    EXPECT_EQ(Press(vk::F), "A");
    EXPECT_EQ(Press(vk::D), "B");
    EXPECT_EQ(Release(vk::F), "B");
    EXPECT_EQ(Release(vk::D), "");
    EXPECT_EQ(chords_.dialogprefix(), "");
    EXPECT_EQ(Chord({vk::F}), "a");
}

// The echo translates the chord so far under the saved prefix, but only the
// completed chord changes that prefix.
TEST_F(ChordTyping, EchoDoesNotChangeThePrefixState)
{
    Press(vk::L);
    EXPECT_EQ(chords_.dialogprefix(), "");
    Release(vk::L);
    EXPECT_EQ(Press(vk::F), "A");
    EXPECT_EQ(Press(vk::D), "B");
    EXPECT_EQ(chords_.dialogprefix(), "#cap");
    // Whatever the shared prefix holds in between, the dialog's own state is
    // what counts.
    table_.activeprefix = "#num";
    EXPECT_EQ(Release(vk::D), "B");
}

TEST_F(ChordTyping, NumberSignSurvivesEnterAndOtherKeysUntilTheSpaceChord)
{
    EXPECT_EQ(Chord({vk::S, vk::J, vk::K, vk::L}), "");
    EXPECT_EQ(Chord({vk::F}), "1");
    // Enter closes the input; its character event reads no chord.
    EXPECT_EQ(Press(EnterKey), "");
    EXPECT_EQ(Release(EnterKey), "");
    EXPECT_EQ(Press(AKey), "");
    EXPECT_EQ(Release(AKey), "");
    EXPECT_EQ(chords_.dialogprefix(), "#num");
    EXPECT_EQ(Chord({vk::D, vk::F}), "2");
    EXPECT_EQ(Chord({vk::Space}), " ");
    EXPECT_EQ(chords_.dialogprefix(), "");
    EXPECT_EQ(Chord({vk::D, vk::F}), "b");
}

TEST_F(ChordTyping, UnknownChordInsertsNothing)
{
    EXPECT_EQ(Chord({vk::F, vk::D, vk::S, vk::J, vk::K, vk::L}), "");
    EXPECT_EQ(chords_.dialogprefix(), "");
}

} // namespace
} // namespace orbela
