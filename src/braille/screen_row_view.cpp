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
    if (showingPrint_)
        return print_;
    // The blanks that fill a row to the screen's width are no text to pan to.
    std::string row = screen_.Row(row_);
    row.erase(row.find_last_not_of(' ') + 1);
    return row;
}

void ScreenRowView::MoveLine(int delta)
{
    // From a print, the rows next to all of it.
    const int from = showingPrint_ && delta < 0 ? firstRow_ : row_;
    showingPrint_ = false;
    row_ = std::clamp(from + delta, 0, Screen::Rows - 1);
}

void ScreenRowView::Printed(std::string_view text, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor)
{
    row_ = RowOfPrintedText(mode, textEndColumn, cursor);
    // The rows the text filled before the one it ended in.
    const int length = static_cast<int>(text.size());
    const int rowsBefore = length > textEndColumn ? (length - textEndColumn + Screen::Columns - 1) / Screen::Columns : 0;
    firstRow_ = std::max(0, row_ - rowsBefore);
    print_ = text;
    showingPrint_ = true;
    if (printed_)
        printed_();
}

} // namespace orbela
