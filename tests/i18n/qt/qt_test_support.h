// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Driving real windows from tests: key events sent through the application
// (so that its event filters see them), text typed key by key (Czech
// letters too), and modal dialogs answered once they are shown.

#include <QString>

#include <functional>

class QWidget;

namespace orbela::testing {

// A press and a release of `key` to `target`, through QApplication.
void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});

// Types every character of `text` (UTF-8 in the test source) as a key
// press and release carrying that character.
void TypeText(QWidget* target, const QString& text);

// Runs `answer` once the application's modal widget is `dialog` (or, with a
// null `dialog`, any modal widget), polling from the event loop; gives up
// after about five seconds.
void WhenModal(QWidget* dialog, std::function<void()> answer);

// Sets QT_QPA_PLATFORM to offscreen unless the caller chose a platform.
void UseOffscreenPlatformByDefault();

} // namespace orbela::testing
