// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a character name file fill the table or
// raise orbela::Error, never more than its 256 entries.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "text/error.h"
#include "speech/character_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orbela::CharacterNameTable table;
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    try {
        table.Load(lines, "fuzz.eky");
    } catch (const orbela::Error&) {
    }
    if (table.Filled() > orbela::CharacterNameTable::EntryCount)
        __builtin_trap();
    std::size_t total = 0;
    for (int c = 0; c < 256; ++c)
        total += table.NameOf(static_cast<char>(c)).size();
    return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
