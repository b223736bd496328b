// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/qt/window_views.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextBlock>

#include <algorithm>

#include "i18n/qt/qt_text.h"
#include "keyboard/qt/tform2.h"
#include "keyboard/qt/tform6.h"

namespace orbela {
namespace {

// The label a reader would read for the control: its accessible name, else
// the text of a label that names it as its buddy, else its own text.
QString LabelOf(const QWidget& control)
{
    if (!control.accessibleName().isEmpty())
        return control.accessibleName();
    if (const QWidget* window = control.window()) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() == &control)
                return label->text().remove('&');
        }
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text().remove('&');
    return {};
}

QString ValueOf(const QWidget& control)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text();
    if (const auto* box = qobject_cast<const QComboBox*>(&control))
        return box->currentText();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(&control))
        return spin->text();
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(&control))
        return QString::number(slider->value());
    if (const auto* list = qobject_cast<const QAbstractItemView*>(&control))
        return list->currentIndex().data().toString();
    return {};
}

} // namespace

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
    dialog_.inputedit->setCursorPosition(column);
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
    QTextCursor cursor = review_.virtualscrmemo->textCursor();
    const QTextBlock block = cursor.block();
    cursor.setPosition(block.position() + std::min(column, block.length() - 1));
    review_.virtualscrmemo->setTextCursor(cursor);
}

void ReviewBrailleView::MoveLine(int delta)
{
    review_.MoveLineBy(delta);
}

std::string FocusedControlView::Line() const
{
    const QWidget* control = QApplication::focusWidget();
    if (!control)
        return {};
    const QString label = LabelOf(*control);
    if (const auto* button = qobject_cast<const QAbstractButton*>(control); button && button->isCheckable())
        return ToCp1250((button->isChecked() ? "[x] " : "[ ] ") + label);
    const QString value = ValueOf(*control);
    if (value.isEmpty() || value == label)
        return ToCp1250(label);
    return ToCp1250(label.isEmpty() ? value : label + ": " + value);
}

} // namespace orbela
