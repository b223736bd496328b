// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows as braille views: the data-entry field, the screen
// review's caret line, and the focused control of any other dialog.

#include "braille/braille_view.h"

namespace orbela {

class TForm2;
class TForm6;

// The field's text with its caret; routing moves the caret, cells typed on
// the display go in as chords.
class DataEntryBrailleView final : public BrailleView {
public:
    explicit DataEntryBrailleView(TForm2& dialog) : dialog_(dialog) {}
    std::string Line() const override;
    std::optional<int> Caret() const override;
    void RouteTo(int column) override;
    void TypeChord(const std::string& pattern) override;

private:
    TForm2& dialog_;
};

// The caret's line of the review; routing moves the caret in the line, the
// line keys move it by lines with the review's spoken answer.
class ReviewBrailleView final : public BrailleView {
public:
    explicit ReviewBrailleView(TForm6& review) : review_(review) {}
    std::string Line() const override;
    std::optional<int> Caret() const override;
    void RouteTo(int column) override;
    void MoveLine(int delta) override;

private:
    TForm6& review_;
};

// The focused control of the active window: its label and its value
// ("[x] Orbela sounds", "Volume: 40").
class FocusedControlView final : public BrailleView {
public:
    std::string Line() const override;
};

} // namespace orbela
