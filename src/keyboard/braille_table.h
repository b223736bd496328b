// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The braille table: which dot patterns are prefix signs (a capital sign, a
// number sign) and which pattern stands for which character under which
// prefix, read from "czech.ebt" at start; and the translation of one chord
// through it.
//
// A dot pattern is the digits "1" to "6" of the raised dots in ascending
// order ("1", "12", "123456"), or a single space for the space chord. All
// strings are Windows-1250 and compare byte for byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace orbela {

inline const std::filesystem::path BrailleTableFileName = "czech.ebt";

// The name of the capital prefix: it applies to one character only.
inline constexpr std::string_view CapitalPrefixName = "#cap";

struct brlpreftype {
    std::string name;  // as written in the file, "#" included
    std::string dots;
};

struct brlchartype {
    std::string prefix;  // the section's name ("#cap"); empty for [characters]
    std::string character;
    std::string dots;
};

// What a table file held beyond the slots; the surplus is not stored.
struct BrailleTableSurplus {
    std::size_t prefixes = 0;    // prefix lines beyond the slots of their section
    std::size_t characters = 0;  // character entries beyond the last slot

    explicit operator bool() const { return prefixes != 0 || characters != 0; }
    // One line for the error report (Windows-1250).
    std::string Message() const;
};

class BrailleTable {
public:
    static constexpr std::size_t PrefixSlots = 10;
    static constexpr std::size_t CharacterSlots = 254;
    // A table file larger than this is refused ("<name> is larger than ...
    // bytes and is not read"): the real one is a few KiB, and a huge one
    // would only hold the start-up.
    static constexpr std::size_t MaxFileBytes = 1024 * 1024;

    // Reads the table file (by default "czech.ebt" in the current directory)
    // into the two tables, replacing what they held; each [prefixes] section
    // starts the prefix table anew, character sections accumulate. Entries beyond the slots are
    // left out and returned, so that the caller reports them once and start-up
    // goes on. A file that cannot be opened or read raises Error with the
    // run-time input/output error's text ("File not found" for a missing
    // file); the tables then keep the lines read before the failure.
    BrailleTableSurplus LoadBrailleTable(const std::filesystem::path& file = BrailleTableFileName);

    // As above, from the file's bytes; lines end at CR LF, LF or CR.
    BrailleTableSurplus LoadBrailleTableText(std::string_view fileBytes);

    // The text the chord produces, possibly empty, changing `activeprefix`:
    // the space chord gives a space and ends any prefix; a prefix sign makes
    // its prefix the active one and gives nothing; otherwise the first entry
    // with these dots under the active prefix gives its character, and the
    // capital prefix ends with it. An empty pattern (no chord key held)
    // gives nothing and changes nothing.
    std::string TranslateChord(std::string_view pattern);

    std::span<const brlpreftype> prefixtable() const { return {prefixtable_.data(), prefixcount_}; }
    std::span<const brlchartype> braillechartable() const
    {
        return {braillechartable_.data(), charactercount_};
    }

    // The name of the prefix in effect, empty when none is. The data-entry
    // dialog loads it from its own saved state before each translation.
    std::string activeprefix;

private:
    class Loader;

    std::array<brlpreftype, PrefixSlots> prefixtable_;
    std::uint8_t prefixcount_ = 0;
    std::array<brlchartype, CharacterSlots> braillechartable_;
    std::uint8_t charactercount_ = 0;
};

} // namespace orbela
