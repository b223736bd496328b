// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on the display during a run: the text printed last, the
// line being spoken, whole from its start however many rows it fills (the
// panning keys walk it). The line keys walk the 24 rows from there, as the
// screen review does; the next print shows its own text again.

#include <functional>
#include <string>
#include <string_view>

#include "braille/braille_view.h"
#include "runtime/print_listener.h"

namespace orbela {

class Screen;

class ScreenRowView final : public BrailleView, public PrintListener {
public:
    // `printed` is called after every print, once the row is known (the
    // presenter's refresh). The screen must outlive the view.
    ScreenRowView(const Screen& screen, std::function<void()> printed)
        : screen_(screen), printed_(std::move(printed))
    {
    }

    std::string Line() const override;
    void MoveLine(int delta) override;
    void Printed(std::string_view text, std::uint8_t mode, int textEndColumn, const tscrcursor& cursor) override;

    // The row shown, or the row the print shown ended in.
    int Row() const { return row_; }

private:
    const Screen& screen_;
    std::function<void()> printed_;
    int row_ = 0;
    // The row the shown print started in.
    int firstRow_ = 0;
    std::string print_;
    bool showingPrint_ = false;
};

// The row where a print's text ended, from the cursor its line end left:
// a line end that started a new row leaves the text one row above.
int RowOfPrintedText(std::uint8_t mode, int textEndColumn, const tscrcursor& cursor);

} // namespace orbela
