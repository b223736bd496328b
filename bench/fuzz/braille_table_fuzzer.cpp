// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a braille table file load without fault,
// and translating chords through the result stays within the table.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "keyboard/braille_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orbela::BrailleTable table;
    table.LoadBrailleTableText(std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t produced = 0;
    for (std::string_view chord : {"1", "12", "3456", "46", " ", "123456", "6", ""})
        produced += table.TranslateChord(chord).size();
    return produced == static_cast<std::size_t>(-1) ? 1 : 0;
}
