#include "shell/ini_file.h"

#include <gtest/gtest.h>

#include "runtime/error.h"
#include "shell/temp_folder.h"

namespace orbela {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ProfileIntegerTest, DecimalWithOptionalSign)
{
    EXPECT_EQ(ParseProfileInteger("0"), 0);
    EXPECT_EQ(ParseProfileInteger("255"), 255);
    EXPECT_EQ(ParseProfileInteger("-5"), -5);
    EXPECT_EQ(ParseProfileInteger("+12"), 12);
    EXPECT_EQ(ParseProfileInteger("-2500"), -2500);
    EXPECT_EQ(ParseProfileInteger("007"), 7);
    EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
}

TEST(ProfileIntegerTest, HexadecimalPrefixes)
{
    EXPECT_EQ(ParseProfileInteger("0x10"), 16);
    EXPECT_EQ(ParseProfileInteger("0XfF"), 255);
    EXPECT_EQ(ParseProfileInteger("0x7FFFFFFF"), 2147483647);
    EXPECT_EQ(ParseProfileInteger("$1f"), 31);
    EXPECT_EQ(ParseProfileInteger("$A"), 10);
    // Two characters are too short for the prefix, so "0x" is no number.
    EXPECT_EQ(ParseProfileInteger("0x"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("$"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0x1g"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-0x10"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0x-1"), std::nullopt);
}

TEST(ProfileIntegerTest, AnythingElseIsNoInteger)
{
    EXPECT_EQ(ParseProfileInteger(""), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("+"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(" 7"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("7 "), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("12abc"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("1.5"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("--5"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("yes"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0x80000000"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("$100000000"), std::nullopt);
}

class IniFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path path = folder / "orbela.ini";
    IniFile file{path};
};

TEST_F(IniFileTest, IntegersReadFromTheFileFollowTheRule)
{
    WriteBytes(path, "[v]\n"
                     "dec=-5\n"
                     "hex=0x1A\n"
                     "dollar=$ff\n"
                     "padded= 7 \n"
                     "garbage=12abc\n"
                     "prefixonly=0x\n"
                     "dollaronly=$\n"
                     "empty=\n"
                     "overflow=4294967296\n");
    EXPECT_EQ(file.ReadInteger("v", "dec", 1), -5);
    EXPECT_EQ(file.ReadInteger("v", "hex", 1), 26);
    EXPECT_EQ(file.ReadInteger("v", "dollar", 1), 255);
    // Blanks around a value belong to the line, not to the value.
    EXPECT_EQ(file.ReadInteger("v", "padded", 1), 7);
    EXPECT_EQ(file.ReadInteger("v", "garbage", 1), 1);
    EXPECT_EQ(file.ReadInteger("v", "prefixonly", 1), 1);
    EXPECT_EQ(file.ReadInteger("v", "dollaronly", 1), 1);
    EXPECT_EQ(file.ReadInteger("v", "empty", 1), 1);
    EXPECT_EQ(file.ReadInteger("v", "overflow", 1), 1);
}

TEST_F(IniFileTest, BooleansAreAnyIntegerOtherThanZero)
{
    WriteBytes(path, "[b]\nzero=0\none=1\nminus=-3\nhex=0x0\nword=true\n");
    EXPECT_FALSE(file.ReadBool("b", "zero", true));
    EXPECT_TRUE(file.ReadBool("b", "one", false));
    EXPECT_TRUE(file.ReadBool("b", "minus", false));
    EXPECT_FALSE(file.ReadBool("b", "hex", true));
    // Not an integer: the default, either way.
    EXPECT_TRUE(file.ReadBool("b", "word", true));
    EXPECT_FALSE(file.ReadBool("b", "word", false));
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.ReadInteger("voice", "pitch", 42), 42);
    EXPECT_TRUE(file.ReadBool("voice", "voiceallowed", true));
    EXPECT_EQ(file.ReadString("Voice", "person", "nobody"), "nobody");

    WriteBytes(path, "[voice]\npitch=3\n");
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.ReadInteger("sounds", "pitch", 42), 42);
    EXPECT_EQ(file.ReadInteger("voice", "speed", 42), 42);
    EXPECT_EQ(file.ReadInteger("voice", "pitch", 42), 3);
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase)
{
    WriteBytes(path, "[VOICE]\nSapi5=1\nPerson=Eliska\n");
    EXPECT_TRUE(file.ReadBool("Voice", "sapi5", false));
    EXPECT_TRUE(file.ReadBool("voice", "SAPI5", false));
    EXPECT_EQ(file.ReadString("voice", "person", ""), "Eliska");
}

TEST_F(IniFileTest, WritingAnotherCaseReplacesTheOneKey)
{
    WriteBytes(path, "[voice]\nvoiceallowed=1\nsapi5=0\n");
    file.WriteBool("Voice", "SAPI5", true);
    EXPECT_TRUE(file.ReadBool("voice", "sapi5", false));

    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.find("[Voice]"), std::string::npos) << text;
    std::size_t keys = 0;
    for (std::size_t at = 0; (at = text.find("=", at)) != std::string::npos; ++at)
        ++keys;
    EXPECT_EQ(keys, 2u) << text;
    EXPECT_NE(text.find("voiceallowed=1"), std::string::npos) << text;
}

TEST_F(IniFileTest, WritesKeepOtherKeysAndCreateTheFile)
{
    file.WriteInteger("sounds", "sndvolume", -2500);
    file.WriteBool("sounds", "orbelasounds", false);
    file.WriteString("Voice", "person", "eSpeak Czech");
    EXPECT_EQ(file.ReadInteger("sounds", "sndvolume", 0), -2500);
    EXPECT_FALSE(file.ReadBool("sounds", "orbelasounds", true));
    EXPECT_EQ(file.ReadString("voice", "person", ""), "eSpeak Czech");
    EXPECT_NE(ReadBytes(path).find("sndvolume=-2500"), std::string::npos);

    // A change made behind the object's back is seen: nothing is cached.
    WriteBytes(path, "[sounds]\nsndvolume=-100\n");
    EXPECT_EQ(file.ReadInteger("sounds", "sndvolume", 0), -100);
}

TEST_F(IniFileTest, TextIsKeptByteForByteAndCutAt2047)
{
    const std::string czech = "\xC8" "e\x9A" "tina";  // Windows-1250 bytes
    file.WriteString("environment", "name", czech);
    EXPECT_EQ(file.ReadString("environment", "name", ""), czech);

    WriteBytes(path, "[t]\nlong=" + std::string(2047, 'a') + "b\nexact=" + std::string(2047, 'c') + "\n");
    EXPECT_EQ(file.ReadString("t", "long", ""), std::string(2047, 'a'));
    EXPECT_EQ(file.ReadString("t", "exact", ""), std::string(2047, 'c'));
}

TEST_F(IniFileTest, LineBreaksInATextCannotAddKeys)
{
    file.WriteString("Voice", "person", "evil\n[voice]\nvoiceallowed=0");
    EXPECT_EQ(file.ReadInteger("voice", "voiceallowed", 7), 7);
    EXPECT_EQ(file.ReadString("Voice", "person", ""), "evil [voice] voiceallowed=0");
}

TEST_F(IniFileTest, UnusualContentStillReadsAsDefaults)
{
    WriteBytes(path, std::string("\0\x01\xFF garbage [[[ ===\n", 20));
    EXPECT_EQ(file.ReadInteger("voice", "pitch", 9), 9);
    std::filesystem::create_directory(folder / "folder.ini");
    const IniFile folderFile(folder / "folder.ini");
    EXPECT_FALSE(folderFile.Exists());
    EXPECT_EQ(folderFile.ReadInteger("voice", "pitch", 9), 9);
    EXPECT_EQ(folderFile.ReadString("voice", "person", "x"), "x");
}

TEST_F(IniFileTest, AFailedWriteRaisesAndLeavesTheFile)
{
    // A path whose parent is a regular file: no folder to write in, even
    // for root.
    WriteBytes(folder / "plain", "not a folder");
    IniFile blocked(folder / "plain" / "orbela.ini");
    try {
        blocked.WriteBool("voice", "voiceallowed", true);
        FAIL() << "the write was reported as done";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + (folder / "plain" / "orbela.ini").string());
    }
    EXPECT_EQ(ReadBytes(folder / "plain"), "not a folder");
}

} // namespace
} // namespace orbela
