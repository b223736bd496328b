// SPDX-License-Identifier: GPL-3.0-or-later
// The character name files delivered with the program: each covers every
// character of the code page that has a glyph, and the carriage return,
// exactly once.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "text/cp1250.h"
#include "speech/character_names.h"

namespace orbela {
namespace {

// Codes 32..255 that Windows-1250 gives a character (all but 129, 131,
// 136, 144, 152), with 160 (no-break space) and 173 (soft hyphen) counted
// in, since a key can type them.
std::set<int> RequiredCodes()
{
    std::set<int> codes{13};
    for (int code = 32; code <= 255; ++code) {
        if (code == 127 || code == 129 || code == 131 || code == 136 || code == 144 || code == 152)
            continue;
        codes.insert(code);
    }
    return codes;
}

class NameFile : public ::testing::TestWithParam<const char*> {};

TEST_P(NameFile, NamesEveryCharacterExactlyOnce)
{
    const std::filesystem::path path = std::filesystem::path(ORBELA_DATA_DIR) / GetParam();
    CharacterNameTable table;
    ASSERT_NO_THROW(table.Load(path));

    std::map<int, int> seen;
    for (std::size_t i = 0; i < table.Filled(); ++i) {
        const auto& entry = table[i];
        ++seen[entry.code];
        EXPECT_FALSE(entry.name.empty()) << "code " << int(entry.code);
        // A name is plain text in the code page: no control characters, no
        // bytes the code page leaves undefined.
        const std::string utf8 = Cp1250ToUtf8(entry.name);
        EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << "code " << int(entry.code);
        for (const char c : entry.name)
            EXPECT_GE(static_cast<unsigned char>(c), 32) << "code " << int(entry.code);
    }
    const auto required = RequiredCodes();
    for (const int code : required)
        EXPECT_EQ(seen[code], 1) << "code " << code;
    for (const auto& [code, count] : seen)
        EXPECT_TRUE(required.count(code)) << "unexpected code " << code;
    EXPECT_EQ(table.Filled(), required.size());
}

TEST_P(NameFile, CapitalsAndSmallLettersSoundDifferent)
{
    CharacterNameTable table;
    table.Load(std::filesystem::path(ORBELA_DATA_DIR) / GetParam());
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_NE(table.NameOf(c), table.NameOf(static_cast<char>(c + 32))) << c;
    EXPECT_NE(table.NameOf('\x8E'), table.NameOf('\x9E'));  // Ž ž
    EXPECT_NE(table.NameOf(' '), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, NameFile, ::testing::Values("czech.eky", "english.eky", "slovak.eky"));

} // namespace
} // namespace orbela
