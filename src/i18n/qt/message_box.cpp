// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace orbela {
namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

MessageBoxSpeaker& Speaker()
{
    static MessageBoxSpeaker speaker;
    return speaker;
}

} // namespace

void ShowMessage(QWidget* parent, const QString& text, MessageKind kind)
{
    if (Hook()) {
        Hook()(text, kind);
        return;
    }
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.setAccessibleName(QGuiApplication::applicationDisplayName());
    box.setAccessibleDescription(text);
    if (Speaker()) {
        const QAbstractButton* ok = box.button(QMessageBox::Ok);
        Speaker()(text, ok ? ok->text() : QString());
    }
    box.exec();
}

void SetMessageBoxSpeaker(MessageBoxSpeaker speaker)
{
    Speaker() = std::move(speaker);
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

} // namespace orbela
