// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/qt_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace orbela::testing {
namespace {

int KeyOf(QChar character)
{
    const QChar upper = character.toUpper();
    if (upper >= 'A' && upper <= 'Z')
        return Qt::Key_A + (upper.unicode() - 'A');
    if (character >= '0' && character <= '9')
        return Qt::Key_0 + (character.unicode() - '0');
    if (character == ' ')
        return Qt::Key_Space;
    if (character == ',')
        return Qt::Key_Comma;
    // Letters beyond ASCII: Qt uses the upper-case code point as the key.
    return upper.unicode();
}

void Poll(QWidget* dialog, std::function<void()> answer, int triesLeft)
{
    QWidget* modal = QApplication::activeModalWidget();
    // Input reaches a window only once it is exposed and active.
    const bool ready = modal && (!dialog || modal == dialog) && modal->isVisible() && modal->windowHandle() &&
                       modal->windowHandle()->isExposed() && QApplication::activeWindow() == modal;
    if (ready) {
        answer();
        return;
    }
    if (triesLeft == 0)
        return;
    QTimer::singleShot(5, [dialog, answer = std::move(answer), triesLeft]() mutable {
        Poll(dialog, std::move(answer), triesLeft - 1);
    });
}

} // namespace

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget* target, const QString& text)
{
    for (QChar character : text)
        SendKey(target, KeyOf(character), Qt::NoModifier, QString(character));
}

void WhenModal(QWidget* dialog, std::function<void()> answer)
{
    QTimer::singleShot(0, [dialog, answer = std::move(answer)]() mutable { Poll(dialog, std::move(answer), 1000); });
}

void UseOffscreenPlatformByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace orbela::testing
