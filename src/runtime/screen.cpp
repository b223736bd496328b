// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen.h"

#include <algorithm>

namespace orbela {

void Screen::SetRow(int row, std::string text)
{
    rows_.at(row) = std::move(text);
    if (observer_)
        observer_->RowChanged(row);
}

void Screen::Scroll()
{
    std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
    rows_.back().clear();
    if (observer_)
        observer_->Scrolled();
}

void Screen::Clear()
{
    for (auto& row : rows_)
        row.clear();
    if (observer_)
        observer_->Reset();
}

std::string Screen::Text() const
{
    std::string text;
    for (const auto& row : rows_) {
        text += row;
        text += "\r\n";
    }
    return text;
}

} // namespace orbela
