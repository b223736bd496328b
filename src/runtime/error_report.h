// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where an error that ended a handler goes: a message box on the desktop,
// standard error in the terminal, a recorder in tests.

#include <string_view>

namespace orbela {

class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    // Shows the text (Windows-1250) and returns; the program goes on.
    virtual void Report(std::string_view cp1250Message) = 0;
};

} // namespace orbela
