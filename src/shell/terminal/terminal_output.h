// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows each output statement on a text stream in UTF-8: the text, then a
// line break for a new line, or the blanks by which the cursor moved on to
// the next tab column.

#include <ostream>

#include "runtime/print_listener.h"

namespace orbela {

class TerminalOutput final : public PrintListener {
public:
    explicit TerminalOutput(std::ostream& out) : out_(out) {}
    void Printed(std::string_view text, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor) override;

private:
    std::ostream& out_;
};

} // namespace orbela
