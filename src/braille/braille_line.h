// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of text laid out on a braille display that is narrower than the
// line: which part of it the cells show (the window), where the caret's
// cursor falls, and which column a routing key over a cell stands for.
// Knows nothing of BrlAPI; works on code points so that one character is
// one cell.

#include <optional>
#include <string>

namespace orbela {

// What the cells show: `text` holds exactly as many characters as there
// are cells (padded with blanks), `cursorCell` the cell (from 0) under the
// character right of the caret, when the caret is in the window.
struct BrailleWindow {
    std::u32string text;
    std::optional<int> cursorCell;

    bool operator==(const BrailleWindow&) const = default;
};

class BrailleLine {
public:
    // A new text or caret. The window follows the caret when the caret
    // moved or the text is another line (`sameLine` false); panning the
    // same line keeps its window while the caret stays put.
    void SetLine(std::u32string text, std::optional<int> caret, bool sameLine);

    // Moves the window by its width; false at the line's edge (nothing
    // moves). The caret's column is part of the line, so the window can
    // move one cell past the last character to show a caret there.
    bool PanLeft(int cells);
    bool PanRight(int cells);

    // The column of the line under `cell` of the window; nullopt for a
    // cell past the line's end (beyond the caret's last place).
    std::optional<int> ColumnOfCell(int cell, int cells) const;

    // Lays the window out for `cells` cells, following the caret first if
    // it moved since.
    BrailleWindow Window(int cells);

    int Offset() const { return offset_; }
    const std::u32string& Text() const { return text_; }
    std::optional<int> Caret() const { return caret_; }

private:
    // Columns the window may start in: the text and one more for a caret
    // standing after the last character.
    int Extent() const;
    void FollowCaret(int cells);

    std::u32string text_;
    std::optional<int> caret_;
    int offset_ = 0;
    // The width the window was last laid out for; the caret is followed
    // again once it is known.
    int lastCells_ = 0;
    bool followPending_ = false;
};

} // namespace orbela
