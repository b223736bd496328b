// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/character_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "text/error.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Cp;

std::string LoadError(CharacterNameTable& table, const std::string& text)
{
    std::istringstream lines(text);
    try {
        table.Load(lines, "czech.eky");
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(CharacterNames, CodesReadLikeTheConfigurationsIntegers)
{
    CharacterNameTable table;
    std::istringstream lines(Cp("0x41=á\r\n\r\n$42=bé\n+67=cé\n-190=minus\n321=přetečení\n61==rovná se\n0X2e=tečka\n"));
    table.Load(lines, "czech.eky");
    EXPECT_EQ(table.Filled(), 7u);
    EXPECT_EQ(table.NameOf('A'), Cp("á"));
    EXPECT_EQ(table.NameOf('C'), Cp("cé"));
    // Only the low byte counts: -190 is 66, 321 is 65; the first entry wins.
    EXPECT_EQ(table[3].code, 66);
    EXPECT_EQ(table.NameOf('B'), Cp("bé"));
    EXPECT_EQ(table[4].code, 65);
    EXPECT_EQ(table.NameOf('A'), Cp("á"));
    // Everything after the first "=" is the name.
    EXPECT_EQ(table.NameOf('='), Cp("=rovná se"));
    EXPECT_EQ(table.NameOf('.'), Cp("tečka"));
    EXPECT_EQ(table.NameOf('x'), "");
    // Unfilled entries carry code 0 but name nothing.
    EXPECT_EQ(table.NameOf('\0'), "");
}

TEST(CharacterNames, ALineWithoutACodeStopsTheLoadingAndKeepsWhatCameBefore)
{
    CharacterNameTable table;
    EXPECT_EQ(LoadError(table, "65=a\nabc=x\n66=b\n"), "'abc' is not a valid integer value");
    EXPECT_EQ(table.Filled(), 1u);
    EXPECT_EQ(table.NameOf('A'), "a");
    EXPECT_EQ(table.NameOf('B'), "");

    table.Clear();
    EXPECT_EQ(LoadError(table, "65 is a\n"), "'65 is a' is not a valid integer value");
    EXPECT_EQ(LoadError(table, "=nothing\n"), "'' is not a valid integer value");
    EXPECT_EQ(LoadError(table, "0x=zero\n"), "'0x' is not a valid integer value");
    EXPECT_EQ(LoadError(table, " 65=a\n"), "' 65' is not a valid integer value");
    EXPECT_EQ(LoadError(table, "4294967296=a\n"), "'4294967296' is not a valid integer value");
    EXPECT_EQ(table.Filled(), 0u);
}

TEST(CharacterNames, SurplusLinesAreIgnoredAndReportedOnce)
{
    std::string text;
    for (int code = 0; code < 256; ++code)
        text += std::to_string(code) + "=n" + std::to_string(code) + "\n";
    text += "65=surplus\nnot a code\n";
    CharacterNameTable table;
    EXPECT_EQ(LoadError(table, text), "czech.eky: 2 lines beyond the table's 256 entries are ignored");
    EXPECT_EQ(table.Filled(), 256u);
    EXPECT_EQ(table[0].name, "n0");
    EXPECT_EQ(table.NameOf('A'), "n65");
    EXPECT_EQ(table.NameOf('\xFF'), "n255");
}

TEST(CharacterNames, MissingFileIsReported)
{
    CharacterNameTable table;
    try {
        table.Load(std::filesystem::path("/nonexistent/czech.eky"));
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "File not found");
    }
}

TEST(CharacterNames, FileIsNamedAfterTheLanguage)
{
    EXPECT_EQ(CharacterNameFileName(1000), "czech.eky");
    EXPECT_EQ(CharacterNameFileName(2000), "english.eky");
    EXPECT_EQ(CharacterNameFileName(3000), "slovak.eky");
}

} // namespace
} // namespace orbela
