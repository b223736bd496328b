// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/menu_keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace orbela {
namespace {

QChar LetterOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar('a' + (key - Qt::Key_A));
    const QString text = event.text();
    if (text.size() == 1 && text[0].isLetter())
        return text[0].toLower();
    if (key > 0 && key <= 0xffff && QChar(key).isLetter())
        return QChar(key).toLower();
    return {};
}

bool IsPlainAlt(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::AltModifier;
}

bool IsPlainF10(const QKeyEvent& event)
{
    return event.key() == Qt::Key_F10 && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

QChar MnemonicOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

MenuKeyboard::MenuKeyboard(QWidget& window, QMenuBar& menuBar)
    : QObject(&window), window_(window), menuBar_(menuBar)
{
    qApp->installEventFilter(this);
}

bool MenuKeyboard::Serves() const
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        for (QWidget* widget = popup; widget; widget = widget->parentWidget()) {
            if (widget == &window_)
                return true;
        }
        // Menus of the bar are top-level popups; find them through their actions.
        for (QAction* action : menuBar_.actions()) {
            if (action->menu() == popup)
                return true;
        }
        return false;
    }
    return QApplication::activeWindow() == &window_;
}

bool MenuKeyboard::eventFilter(QObject*, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    // An open menu closes on a bare Alt press; keep it open, so that the
    // Alt+letter that follows can move on from it.
    if (type == QEvent::KeyPress && key.key() == Qt::Key_Alt && QApplication::activePopupWidget() && Serves())
        return true;
    const bool handled = IsPlainF10(key) || (IsPlainAlt(key) && !key.isAutoRepeat());
    if (!handled || !Serves())
        return false;
    const bool dryRun = type == QEvent::ShortcutOverride;
    bool ours = false;
    if (IsPlainF10(key))
        ours = dryRun || ToggleMenuBar();
    else
        ours = OpenNextMenu(LetterOf(key), dryRun);
    if (!ours)
        return false;
    // Accepting the override keeps Qt's own (ambiguous) shortcut from
    // taking the key; the key press that follows does the work.
    event->accept();
    return true;
}

bool MenuKeyboard::OpenNextMenu(QChar letter, bool dryRun)
{
    if (letter.isNull())
        return false;
    QList<QAction*> matches;
    for (QAction* action : menuBar_.actions()) {
        if (action->isVisible() && action->isEnabled() && action->menu() && MnemonicOf(action->text()) == letter)
            matches << action;
    }
    if (matches.isEmpty())
        return false;
    if (dryRun)
        return true;
    const qsizetype current = matches.indexOf(menuBar_.activeAction());
    QAction* next = matches[(current + 1) % matches.size()];
    menuBar_.setActiveAction(next);
    return true;
}

bool MenuKeyboard::ToggleMenuBar()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return true;
    }
    for (QAction* action : menuBar_.actions()) {
        if (action->isVisible() && action->isEnabled() && action->menu()) {
            menuBar_.setActiveAction(action);
            return true;
        }
    }
    return false;
}

} // namespace orbela
