// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Told of every output statement after the screen writer has run and before
// the text is spoken: lets a front-end that has no screen of its own (the
// terminal) show the output as a stream.

#include <cstdint>
#include <string_view>

#include "runtime/tscrcursor.h"

namespace orbela {

class PrintListener {
public:
    virtual ~PrintListener() = default;
    // `text` as printed (Windows-1250), its line-end mode, the column where
    // the text ended, and the cursor as the line-end mode left it.
    virtual void Printed(std::string_view text, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor) = 0;
};

} // namespace orbela
