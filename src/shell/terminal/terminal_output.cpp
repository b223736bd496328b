// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_output.h"

#include <string>

#include "text/cp1250.h"

namespace orbela {

void TerminalOutput::Printed(std::string_view text, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor)
{
    out_ << Cp1250ToUtf8(text);
    if (mode == 0) {
        out_ << '\n';
    } else if (mode == 2) {
        int column = cursor.getx();
        if (column < textEndColumn)
            out_ << '\n';
        else
            out_ << std::string(static_cast<std::size_t>(column - textEndColumn), ' ');
    }
    // A line stays in the buffer until it ends, so that the next line's
    // speech does not start before the text is shown.
    if (mode == 0)
        out_.flush();
}

} // namespace orbela
