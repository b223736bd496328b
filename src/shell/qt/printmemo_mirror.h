// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the main window's memo equal to the screen model: one text block per
// screen row, 24 blocks, no trailing empty block.

#include "runtime/screen.h"

class QPlainTextEdit;

namespace orbela {

class PrintmemoMirror final : public ScreenObserver {
public:
    // Both must outlive the mirror. Does not attach itself.
    PrintmemoMirror(const Screen& screen, QPlainTextEdit& memo) : screen_(screen), memo_(memo) {}

    void RowChanged(int row) override;
    void Scrolled() override;
    void Reset() override;

private:
    void KeepCaretOnLastRow();

    const Screen& screen_;
    QPlainTextEdit& memo_;
};

} // namespace orbela
