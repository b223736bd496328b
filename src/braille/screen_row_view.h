// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on the display during a run: the screen row printed last,
// the line being spoken. The line keys walk the 24 rows from there, as the
// screen review does; the next print shows its own row again.

#include <functional>
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

    int Row() const { return row_; }

private:
    const Screen& screen_;
    std::function<void()> printed_;
    int row_ = 0;
};

// The row where a print's text ended, from the cursor its line end left:
// a line end that started a new row leaves the text one row above.
int RowOfPrintedText(std::uint8_t mode, int textEndColumn, const tscrcursor& cursor);

} // namespace orbela
