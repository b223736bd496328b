// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace orbela {
namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
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
    box.exec();
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

} // namespace orbela
