// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/braille_presenter.h"

#include "braille/braille_display.h"
#include "braille/braille_text.h"
#include "braille/braille_view.h"

namespace orbela {

void BraillePresenter::SetView(BrailleView* view)
{
    if (view == view_)
        return;
    view_ = view;
    newView_ = true;
    Refresh();
}

void BraillePresenter::Refresh()
{
    const int cells = display_.Cells();
    if (cells <= 0) {
        // Nothing reached a display: all of it is written once one is there.
        written_.reset();
        return;
    }
    if (view_) {
        std::u32string text = CodePointsOfCp1250(view_->Line());
        const bool sameLine = !newView_ && text == line_.Text();
        line_.SetLine(std::move(text), view_->Caret(), sameLine);
    } else {
        line_.SetLine({}, std::nullopt, false);
    }
    newView_ = false;
    BrailleWindow window = line_.Window(cells);
    // A display taken anew (the menu's popup took the focus, say) is blank
    // even where the line has not changed.
    if (written_ && writtenTaking_ == display_.Taking() && *written_ == window)
        return;
    if (display_.Write(Utf8OfCodePoints(window.text), window.cursorCell)) {
        written_ = std::move(window);
        writtenTaking_ = display_.Taking();
    } else {
        written_.reset();
    }
}

void BraillePresenter::HandleKey(const BrailleKey& key)
{
    const int cells = display_.Cells();
    switch (key.command) {
    case BrailleCommand::PanLeft:
    case BrailleCommand::PanRight: {
        const bool moved = key.command == BrailleCommand::PanLeft ? line_.PanLeft(cells) : line_.PanRight(cells);
        if (!moved && edge_)
            edge_();
        break;
    }
    case BrailleCommand::Route:
        if (const auto column = line_.ColumnOfCell(key.argument, cells); column && view_)
            view_->RouteTo(*column);
        break;
    case BrailleCommand::LineUp:
    case BrailleCommand::LineDown:
        if (view_)
            view_->MoveLine(key.command == BrailleCommand::LineUp ? -1 : 1);
        break;
    case BrailleCommand::Dots:
        if (view_)
            view_->TypeChord(ChordPatternOfDots(key.argument));
        break;
    }
    // Written again even when unchanged: BRLTTY may have redrawn the cells
    // itself on the key (a blank line, where nothing moved).
    written_.reset();
    Refresh();
}

} // namespace orbela
