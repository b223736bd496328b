// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows as braille views: the data-entry field, the screen
// review's caret line, and the focused control of any other dialog.

#include "braille/braille_view.h"

class QMenuBar;
class QWidget;

namespace orbela {

// The language of `widget`'s window, else `main`'s.
int BrailleLanguageOf(const QWidget& widget, const QWidget* main);

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

// The active window's own texts (a message, the About lines), then its
// focused control as the screen reader's braille shows it
// ("<x> Orbela sounds", "Volume 40"). A window opens at its texts' start;
// once the focus moves inside it, the display follows the control, its
// cursor on the control's first cell.
class FocusedControlView final : public BrailleView {
public:
    // The words the program adds are in the language of `main` for a
    // window that recorded none (a message box).
    explicit FocusedControlView(const QWidget* main) : main_(main) {}
    std::string Line() const override;
    std::optional<int> Caret() const override;

private:
    struct Parts {
        std::string texts;    // with a blank after them, or empty
        std::string control;  // empty without a focused control
    };
    Parts Read() const;

    const QWidget* main_;
    // The window last shown and the control it opened with.
    mutable const QWidget* window_ = nullptr;
    mutable const QWidget* openedWith_ = nullptr;
};

// The item of the menu bar or of an open menu that the keys are on, with
// its shortcut and state: "< > Braille keyboard (Ctrl+B)".
class MenuItemView final : public BrailleView {
public:
    MenuItemView(const QMenuBar* bar, const QWidget* main) : bar_(bar), main_(main) {}
    // True while the menu bar or a menu is in use.
    bool Showing() const;
    std::string Line() const override;

private:
    const QMenuBar* bar_;
    const QWidget* main_;
};

} // namespace orbela
