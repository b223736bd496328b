// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/configuration.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

#include "text/error.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> NonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

class ConfigurationTest : public ::testing::Test {
protected:
    // The start values the main window sets before loading.
    void SetUp() override
    {
        state.voiceallowed = false;
        state.orbelasounds = true;
        state.sndvolume = 0;
        state.braillekeys = false;
    }

    TempFolder folder;
    std::filesystem::path path = folder / "orbela.ini";
    IniFile file{path};
    RuntimeState state;
    MenuMarks marks;
};

TEST_F(ConfigurationTest, FirstStartWritesOnlyTheVoiceSwitch)
{
    LoadConfiguration(file, state, /*enumeratorExists=*/false, marks);
    EXPECT_FALSE(state.voiceallowed);
    EXPECT_EQ(ReadBytes(path), "[voice]\nvoiceallowed=0\n");
    EXPECT_TRUE(state.orbelasounds);
    EXPECT_EQ(state.sndvolume, 0);
    EXPECT_FALSE(state.braillekeys);
    EXPECT_FALSE(marks.usesapi5);
    EXPECT_FALSE(marks.braillekeyboard);
}

TEST_F(ConfigurationTest, FirstStartWithAnEngineAllowsTheVoice)
{
    LoadConfiguration(file, state, /*enumeratorExists=*/true, marks);
    EXPECT_TRUE(state.voiceallowed);
    EXPECT_EQ(ReadBytes(path), "[voice]\nvoiceallowed=1\n");
}

TEST_F(ConfigurationTest, FirstStartThatCannotWriteRaisesWithTheStateSet)
{
    WriteBytes(folder / "plain", "x");
    IniFile blocked(folder / "plain" / "orbela.ini");
    EXPECT_THROW(LoadConfiguration(blocked, state, /*enumeratorExists=*/true, marks), Error);
    EXPECT_TRUE(state.voiceallowed);
    EXPECT_TRUE(state.orbelasounds);
}

TEST_F(ConfigurationTest, AnExistingFileSetsEverySetting)
{
    WriteBytes(path, "[VOICE]\nvoiceallowed=0\nSapi5=1\n"
                     "[Sounds]\norbelasounds=0\nsndvolume=-2500\n"
                     "[keyboard]\nBrailleKeys=1\n");
    LoadConfiguration(file, state, /*enumeratorExists=*/true, marks);
    EXPECT_FALSE(state.voiceallowed);
    EXPECT_FALSE(state.orbelasounds);
    EXPECT_EQ(state.sndvolume, -2500);
    EXPECT_TRUE(state.braillekeys);
    EXPECT_TRUE(marks.usesapi5);
    EXPECT_TRUE(marks.braillekeyboard);
}

TEST_F(ConfigurationTest, AnExistingFileWithoutKeysGivesTheDefaults)
{
    // Only the language is there: the voice is allowed by default, whatever
    // the engine, and nothing is written.
    WriteBytes(path, "[environment]\nlanguage=2000\n");
    state.orbelasounds = false;
    state.sndvolume = -10;
    state.braillekeys = true;
    LoadConfiguration(file, state, /*enumeratorExists=*/false, marks);
    EXPECT_TRUE(state.voiceallowed);
    EXPECT_TRUE(state.orbelasounds);
    EXPECT_EQ(state.sndvolume, 0);
    EXPECT_FALSE(state.braillekeys);
    EXPECT_FALSE(marks.usesapi5);
    EXPECT_FALSE(marks.braillekeyboard);
    EXPECT_EQ(ReadBytes(path), "[environment]\nlanguage=2000\n");
}

TEST_F(ConfigurationTest, AVolumeOutsideTheRangeIsBroughtIntoIt)
{
    WriteBytes(path, "[sounds]\nsndvolume=500\n");
    LoadConfiguration(file, state, false, marks);
    EXPECT_EQ(state.sndvolume, 0);
    WriteBytes(path, "[sounds]\nsndvolume=-20000\n");
    LoadConfiguration(file, state, false, marks);
    EXPECT_EQ(state.sndvolume, -10000);
}

TEST_F(ConfigurationTest, SaveWritesAllFourKeysInOrder)
{
    LoadConfiguration(file, state, /*enumeratorExists=*/true, marks);
    file.WriteBool("Voice", "SAPI5", true);
    state.orbelasounds = false;
    state.sndvolume = -2500;
    state.braillekeys = true;

    SaveConfiguration(file, state);

    const std::vector<std::string> expected{"[voice]", "voiceallowed=1", "SAPI5=1", "[sounds]",
                                            "orbelasounds=0", "sndvolume=-2500", "[keyboard]", "braillekeys=1"};
    EXPECT_EQ(NonEmptyLines(ReadBytes(path)), expected);
    RuntimeState reloaded;
    MenuMarks reloadedMarks;
    LoadConfiguration(file, reloaded, false, reloadedMarks);
    EXPECT_TRUE(reloaded.voiceallowed);
    EXPECT_FALSE(reloaded.orbelasounds);
    EXPECT_EQ(reloaded.sndvolume, -2500);
    EXPECT_TRUE(reloaded.braillekeys);
    EXPECT_TRUE(reloadedMarks.usesapi5);
    EXPECT_TRUE(reloadedMarks.braillekeyboard);
}

TEST_F(ConfigurationTest, LanguageDefaultsToCzechAndIsWrittenBack)
{
    EXPECT_EQ(ReadLanguage(file), 1000);
    WriteLanguage(file, 3000);
    EXPECT_EQ(ReadLanguage(file), 3000);
    WriteBytes(path, "[Environment]\nLANGUAGE=1500\n");
    EXPECT_EQ(ReadLanguage(file), 1500);
    WriteBytes(path, "[environment]\nlanguage=english\n");
    EXPECT_EQ(ReadLanguage(file), 1000);
}

} // namespace
} // namespace orbela
