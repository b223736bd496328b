// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A braille display as the presenter writes to it: a BrlAPI connection in
// the program, a recording fake in tests.

#include <cstdint>
#include <optional>
#include <string>

#include "braille/braille_keys.h"

namespace orbela {

class BrailleDisplay {
public:
    virtual ~BrailleDisplay() = default;
    // The number of cells; 0 while there is no display to write to.
    virtual int Cells() = 0;
    // Shows `text` (UTF-8, one character per cell, as many as there are
    // cells) with dots 7 and 8 added under `cursorCell`. False when the
    // text did not reach the display.
    virtual bool Write(const std::string& utf8Text, std::optional<int> cursorCell) = 0;
    // Changes each time the display is taken anew (for another window, or
    // again at a new size): what was written before is no longer shown.
    virtual std::uint64_t Taking() const = 0;
};

} // namespace orbela
