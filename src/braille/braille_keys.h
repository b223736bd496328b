// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The display's keys as this program uses them, decoded from BrlAPI's key
// codes (commands, since the program asks for commands, not raw keys).

#include <cstdint>
#include <optional>
#include <string>

namespace orbela {

enum class BrailleCommand {
    PanLeft,    // the display's own panning keys
    PanRight,
    LineUp,
    LineDown,
    Route,      // a routing key; `argument` is its cell, from 0
    Dots,       // a cell typed on the display's braille keyboard; `argument` holds dots 1-8 as bits 0-7
};

struct BrailleKey {
    BrailleCommand command;
    int argument = 0;

    bool operator==(const BrailleKey&) const = default;
};

// Nullopt for every key this program leaves alone.
std::optional<BrailleKey> DecodeBrailleKey(std::uint64_t brlapiKeyCode);

// The chord pattern of a typed cell as the chord keyboard reads it: the
// digits of dots 1-6 in ascending order, a single space for a cell without
// any of them (the display's space bar). Dots 7 and 8 are not braille
// letters' dots and are left out.
std::string ChordPatternOfDots(int dots);

} // namespace orbela
