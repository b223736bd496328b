// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character name table: what a single character is called when it is
// spoken on its own (a key echo, a step of the review cursor). 256 entries
// of a Windows-1250 code and a name, filled from the character name file of
// the user-interface language.

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace orbela {

class CharacterNameTable {
public:
    static constexpr std::size_t EntryCount = 256;

    struct Entry {
        std::uint8_t code = 0;
        std::string name;  // Windows-1250, as written in the file
    };

    // Reads the file's lines into the entries that follow those already
    // filled. A line is a code ("65", "+65", "0x41", "$41"; only its low
    // byte counts), "=" and the name, which is everything after the first
    // "=". Empty lines are skipped. Raises Error "File not found" when the
    // file cannot be opened, "'<text>' is not a valid integer value" for a
    // line whose part before the first "=" is no integer (the entries
    // before it stay), and, once, a message naming the surplus when the
    // file has more lines than the table has entries (the surplus is
    // ignored).
    void Load(const std::filesystem::path& path);
    void Load(std::istream& lines, std::string_view fileName);

    // The name of the first entry carrying the character; empty when no
    // filled entry carries it.
    std::string_view NameOf(char character) const;

    std::size_t Filled() const { return filled_; }
    const Entry& operator[](std::size_t index) const { return entries_.at(index); }
    void Clear();

private:
    std::array<Entry, EntryCount> entries_;
    std::size_t filled_ = 0;
};

// Language string 24 of the language followed by ".eky": "czech.eky",
// "english.eky" or "slovak.eky".
std::string CharacterNameFileName(int language);

} // namespace orbela
