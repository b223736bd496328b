// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/braille_line.h"

#include <algorithm>

namespace orbela {

void BrailleLine::SetLine(std::u32string text, std::optional<int> caret, bool sameLine)
{
    const bool caretMoved = caret != caret_;
    text_ = std::move(text);
    if (caret)
        caret = std::clamp(*caret, 0, static_cast<int>(text_.size()));
    caret_ = caret;
    if (!sameLine) {
        offset_ = 0;
        followPending_ = true;
    } else if (caretMoved) {
        followPending_ = true;
    }
    // Still inside the line after it got shorter.
    if (offset_ >= Extent())
        offset_ = 0;
    if (followPending_ && lastCells_ > 0)
        FollowCaret(lastCells_);
}

int BrailleLine::Extent() const
{
    return static_cast<int>(text_.size()) + (caret_ ? 1 : 0);
}

void BrailleLine::FollowCaret(int cells)
{
    followPending_ = false;
    if (!caret_ || cells <= 0)
        return;
    // Whole windows, as the panning keys move: the caret's window is the
    // one the keys would reach.
    if (*caret_ < offset_ || *caret_ >= offset_ + cells)
        offset_ = *caret_ / cells * cells;
}

bool BrailleLine::PanLeft(int cells)
{
    lastCells_ = cells;
    if (offset_ == 0 || cells <= 0)
        return false;
    offset_ = std::max(0, offset_ - cells);
    return true;
}

bool BrailleLine::PanRight(int cells)
{
    lastCells_ = cells;
    if (cells <= 0 || offset_ + cells >= Extent())
        return false;
    offset_ += cells;
    return true;
}

std::optional<int> BrailleLine::ColumnOfCell(int cell, int cells) const
{
    if (cell < 0 || cell >= cells)
        return std::nullopt;
    const int column = offset_ + cell;
    if (column > static_cast<int>(text_.size()))
        return std::nullopt;
    return column;
}

BrailleWindow BrailleLine::Window(int cells)
{
    BrailleWindow window;
    if (cells <= 0)
        return window;
    // The caret is followed here: the width is only known here.
    lastCells_ = cells;
    if (followPending_)
        FollowCaret(cells);
    const auto start = static_cast<std::size_t>(std::min<int>(offset_, static_cast<int>(text_.size())));
    window.text = text_.substr(start, static_cast<std::size_t>(cells));
    window.text.resize(static_cast<std::size_t>(cells), U' ');
    if (caret_ && *caret_ >= offset_ && *caret_ < offset_ + cells)
        window.cursorCell = *caret_ - offset_;
    return window;
}

} // namespace orbela
