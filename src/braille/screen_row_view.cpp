// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/screen_row_view.h"

#include <algorithm>

#include "runtime/runtime.h"
#include "runtime/screen.h"

namespace orbela {
namespace {

// Mode 2 starts a new row from this column on, as the screen writer does.
constexpr int LastTabColumn = 73;

} // namespace

int RowOfPrintedText(std::uint8_t mode, int textEndColumn, const tscrcursor& cursor)
{
    const int row = cursor.gety();
    const bool newRow = mode == static_cast<std::uint8_t>(LineEnd::NewLine) ||
                        (mode == static_cast<std::uint8_t>(LineEnd::NextTab) && textEndColumn >= LastTabColumn);
    return std::clamp(newRow ? row - 1 : row, 0, Screen::Rows - 1);
}

std::string ScreenRowView::Line() const
{
    return screen_.Row(row_);
}

void ScreenRowView::MoveLine(int delta)
{
    row_ = std::clamp(row_ + delta, 0, Screen::Rows - 1);
}

void ScreenRowView::Printed(std::string_view, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor)
{
    row_ = RowOfPrintedText(mode, textEndColumn, cursor);
    if (printed_)
        printed_();
}

} // namespace orbela
