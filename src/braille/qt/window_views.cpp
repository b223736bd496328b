// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/qt/window_views.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

#include "i18n/control_description.h"
#include "i18n/qt/control_facts.h"
#include "i18n/qt/qt_text.h"
#include "i18n/resource_localizer.h"
#include "keyboard/qt/tform2.h"
#include "keyboard/qt/tform6.h"

namespace orbela {

int BrailleLanguageOf(const QWidget& widget, const QWidget* main)
{
    return ShownLanguage(widget, main ? ShownLanguage(*main, LanguageEnglish) : LanguageEnglish);
}

std::string DataEntryBrailleView::Line() const
{
    return dialog_.FieldText();
}

std::optional<int> DataEntryBrailleView::Caret() const
{
    return dialog_.inputedit->cursorPosition();
}

void DataEntryBrailleView::RouteTo(int column)
{
    dialog_.RouteCaretTo(column);
}

void DataEntryBrailleView::TypeChord(const std::string& pattern)
{
    dialog_.TypeDisplayChord(pattern);
}

std::string ReviewBrailleView::Line() const
{
    return ToCp1250(review_.virtualscrmemo->textCursor().block().text());
}

std::optional<int> ReviewBrailleView::Caret() const
{
    return review_.virtualscrmemo->textCursor().positionInBlock();
}

void ReviewBrailleView::RouteTo(int column)
{
    review_.RouteCaretTo(column);
}

void ReviewBrailleView::MoveLine(int delta)
{
    review_.MoveLineBy(delta);
}

FocusedControlView::Parts FocusedControlView::Read() const
{
    Parts parts;
    if (const QWidget* window = QApplication::activeWindow()) {
        for (const QString& text : StaticTextsOf(*window))
            parts.texts += ToCp1250(text) + " ";
    }
    if (const QWidget* control = QApplication::focusWidget())
        parts.control = BrailleControl(FactsOf(*control), BrailleLanguageOf(*control, main_));
    return parts;
}

std::string FocusedControlView::Line() const
{
    Parts parts = Read();
    return parts.texts + parts.control;
}

std::optional<int> FocusedControlView::Caret() const
{
    const QWidget* window = QApplication::activeWindow();
    const QWidget* control = QApplication::focusWidget();
    if (window != window_) {
        window_ = window;
        openedWith_ = control;
    }
    if (!control || control == openedWith_)
        return std::nullopt;
    // Cp1250: one byte is one cell.
    return static_cast<int>(Read().texts.size());
}

bool MenuItemView::Showing() const
{
    return qobject_cast<const QMenu*>(QApplication::activePopupWidget()) || (bar_ && bar_->activeAction());
}

std::string MenuItemView::Line() const
{
    const auto* menu = qobject_cast<const QMenu*>(QApplication::activePopupWidget());
    if (menu && menu->activeAction())
        return BrailleControl(FactsOf(*menu->activeAction(), *menu), BrailleLanguageOf(*menu, main_));
    if (bar_ && bar_->activeAction())
        return BrailleControl(FactsOf(*bar_->activeAction(), *bar_), BrailleLanguageOf(*bar_, main_));
    return {};
}

} // namespace orbela
