// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <utility>

#include "text/error.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ProfileIntegerTest, DecimalHexadecimalAndNothingElse)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"255", 255}, {"-5", -5}, {"+12", 12}, {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"0x10", 16}, {"0XfF", 255}, {"$1f", 31}, {"$A", 10},
        // Two characters are too short for the prefix, so "0x" is no number.
        {"0x", std::nullopt}, {"$", std::nullopt}, {"0x1g", std::nullopt}, {"-0x10", std::nullopt},
        {"", std::nullopt}, {"-", std::nullopt}, {" 7", std::nullopt}, {"7 ", std::nullopt},
        {"12abc", std::nullopt}, {"1.5", std::nullopt}, {"--5", std::nullopt},
        {"2147483648", std::nullopt}, {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt}, {"0x80000000", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseProfileInteger(text), expected) << '"' << text << '"';
}

class IniFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path path = folder / "orbela.ini";
    IniFile file{path};
};

TEST_F(IniFileTest, IntegersAndBooleansReadFromTheFile)
{
    WriteBytes(path, "[v]\nhex=0x1A\npadded= 7 \ngarbage=12abc\nprefixonly=0x\n"
                     "zero=0\nminus=-3\nword=true\n");
    EXPECT_EQ(file.ReadInteger("v", "hex", 1), 26);
    // Blanks around a value belong to the line, not to the value.
    EXPECT_EQ(file.ReadInteger("v", "padded", 1), 7);
    EXPECT_EQ(file.ReadInteger("v", "garbage", 1), 1);
    EXPECT_EQ(file.ReadInteger("v", "prefixonly", 1), 1);
    EXPECT_FALSE(file.ReadBool("v", "zero", true));
    EXPECT_TRUE(file.ReadBool("v", "minus", false));
    EXPECT_TRUE(file.ReadBool("v", "word", true));
    EXPECT_FALSE(file.ReadBool("v", "word", false));
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
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + (folder / "plain" / "orbela.ini").string() + ": Not a directory");
    }
    EXPECT_EQ(ReadBytes(folder / "plain"), "not a folder");
}

// Two running copies change settings through the same file at once: each
// writes keys of its own, and none of them may be lost to the other's
// rewrite; a setting one copy left as it was does not undo the other's
// change of it.
TEST(SharedConfigurationTest, TwoCopiesWritingAtOnceLoseNothing)
{
    TempFolder folder;
    const std::filesystem::path path = folder / "orbela.ini";
    WriteBytes(path, "[sounds]\nsndvolume=0\n[keyboard]\nbraillekeys=0\n");
    constexpr int Keys = 150;
    pid_t copies[2];
    for (int copy = 0; copy < 2; ++copy) {
        copies[copy] = ::fork();
        if (copies[copy] == 0) {
            IniFile file(path);
            const int volume = file.ReadInteger("sounds", "sndvolume", 1);
            const std::string section = copy == 0 ? "first" : "second";
            try {
                for (int key = 0; key < Keys; ++key)
                    file.WriteInteger(section, "key" + std::to_string(key), key);
                // The first copy changes the volume; the second writes all its
                // settings back as it read them, as a settings dialog does.
                file.WriteInteger("sounds", "sndvolume", copy == 0 ? -700 : volume);
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
    }
    for (const pid_t copy : copies) {
        int status = 0;
        ASSERT_EQ(::waitpid(copy, &status, 0), copy);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const IniValues values = IniFile(path).Load();
    int missing = 0;
    for (int key = 0; key < Keys; ++key) {
        missing += values.ReadInteger("first", "key" + std::to_string(key), -1) != key;
        missing += values.ReadInteger("second", "key" + std::to_string(key), -1) != key;
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(values.ReadInteger("sounds", "sndvolume", 1), -700);
}

// A configuration file whose bytes are not text (a NUL, as in UTF-16) is
// not taken for settings, and a setting changed later never rewrites it.
TEST(SharedConfigurationTest, AFileWithANulByteIsNeitherReadNorRewritten)
{
    TempFolder folder;
    const std::filesystem::path path = folder / "orbela.ini";
    using namespace std::string_literals;
    const std::string content = "[voice]\nvoiceallowed=0\n\0\n[environment]\nlanguage=2000\n"s;
    const std::string utf16 = "\xff\xfe[\0v\0o\0i\0c\0e\0]\0\n\0"s;
    for (const std::string& bytes : {content, utf16}) {
        WriteBytes(path, bytes);
        IniFile file(path);
        const IniValues values = file.Load();
        ASSERT_TRUE(values.Problem().has_value());
        EXPECT_EQ(*values.Problem(), "Unable to read " + path.string() +
                                         ": it holds bytes that are not text (a NUL byte) and is kept as it is");
        try {
            file.WriteBool("keyboard", "braillekeys", true);
            ADD_FAILURE() << "the setting was written";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + path.string() +
                                                     ": it holds bytes that are not text (a NUL byte) and is kept as it is");
        }
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

} // namespace
} // namespace orbela
