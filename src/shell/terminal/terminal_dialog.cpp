// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_dialog.h"

#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {

int TerminalDialog::ShowModal()
{
    std::string line;
    while (std::getline(in_, line)) {
        // A line typed on another system may end in a carriage return.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        try {
            field_ = Utf8ToCp1250(line);
            return ModalResultOk;
        } catch (const Error& error) {
            report_.Report(std::string(error.what()) + "; please type the line again");
        }
    }
    throw EndOfInput();
}

} // namespace orbela
