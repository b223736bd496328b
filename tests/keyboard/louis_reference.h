// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small reader of the liblouis braille tables, enough to take the dots of
// single characters, digits, the capital sign and the number sign from the
// Czech uncontracted table as a reference that owes nothing to our own
// table or its reader.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orbela::testing {

struct LouisTable {
    // First definition of each character by letter, lowercase, uppercase,
    // punctuation, sign or math: its dots as liblouis writes them ("16",
    // "6-3456" for two cells).
    std::map<char32_t, std::string> characters;
    std::map<char32_t, std::string> digits;
    // base uppercase: a capital and the small letter it is written as.
    std::map<char32_t, char32_t> capitalBase;
    std::map<char32_t, std::string> decimalPoints;
    std::string numsign;
    std::string capsletter;
};

// Reads the table and, depth first, the tables it includes (looked up beside
// the including table, then beside the first one). Raises
// std::runtime_error for a file that cannot be read.
LouisTable ReadLouisTable(const std::filesystem::path& file);

// The one code point of a UTF-8 text; nullopt for anything else.
std::optional<char32_t> SingleCodePoint(std::string_view utf8);

} // namespace orbela::testing
