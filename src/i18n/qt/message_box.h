// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message boxes. Every message the windows show goes through
// here, so that tests can answer them instead of a user.

#include <QString>

#include <functional>

class QWidget;

namespace orbela {

enum class MessageKind { Information, Error };

// Shows a modal message box titled with the application's display name and
// returns when the user has closed it.
void ShowMessage(QWidget* parent, const QString& text, MessageKind kind = MessageKind::Information);

// While a hook is set, ShowMessage calls it instead of showing a box. An
// empty hook restores the real boxes.
using MessageBoxHook = std::function<void(const QString& text, MessageKind kind)>;
void SetMessageBoxHook(MessageBoxHook hook);

} // namespace orbela
