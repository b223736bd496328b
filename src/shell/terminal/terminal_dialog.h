// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data-entry dialog of the terminal: one line of standard input per
// confirmed line. End of input raises EndOfInput, which ends the program
// as the dialog's end-program button does.

#include <istream>
#include <stdexcept>
#include <string>

#include "runtime/error_report.h"
#include "runtime/input_dialog.h"

namespace orbela {

struct EndOfInput : std::runtime_error {
    EndOfInput() : std::runtime_error("end of input") {}
};

class TerminalDialog final : public InputDialog {
public:
    TerminalDialog(std::istream& in, ErrorReport& report) : in_(in), report_(report) {}

    void ClearField() override { field_.clear(); }
    // Reads UTF-8 lines until one converts to Windows-1250; a line that
    // does not is reported and asked for again.
    int ShowModal() override;
    std::string FieldText() const override { return field_; }

private:
    std::istream& in_;
    ErrorReport& report_;
    std::string field_;
};

} // namespace orbela
