// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/virtual_key.h"

#include <QApplication>
#include <QKeyEvent>

#include "keyboard/key_state.h"

namespace orbela {
namespace {

// X11 key code of the key right of the full stop (evdev AB10).
constexpr quint32 X11Oem2KeyCode = 61;

int VirtualKeyOfQtKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;  // Qt's letter keys are the upper-case ASCII codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Space: return 32;
    case Qt::Key_Backspace: return VirtualKey::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VirtualKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VirtualKey::Return;
    case Qt::Key_Shift: return VirtualKey::Shift;
    case Qt::Key_Control: return VirtualKey::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return VirtualKey::Alt;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return VirtualKey::End;
    case Qt::Key_Home: return VirtualKey::Home;
    case Qt::Key_Left: return VirtualKey::Left;
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Right: return VirtualKey::Right;
    case Qt::Key_Down: return VirtualKey::Down;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return VirtualKey::Delete;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return VirtualKey::Oem2;
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_BracketLeft: return 219;
    case Qt::Key_Backslash: return 220;
    case Qt::Key_BracketRight: return 221;
    case Qt::Key_Apostrophe: return 222;
    default: return 0;
    }
}

bool OnX11()
{
    return QGuiApplication::platformName() == "xcb";
}

} // namespace

int VirtualKeyOf(const QKeyEvent& event)
{
    // The key is the place on the keyboard, whatever the layout types there.
    if (OnX11() && event.nativeScanCode() == X11Oem2KeyCode)
        return VirtualKey::Oem2;
    return VirtualKeyOfQtKey(event.key());
}

KeyStateFilter::KeyStateFilter(KeyStateTable& keys, QObject* parent) : QObject(parent), keys_(keys) {}

bool KeyStateFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int code = VirtualKeyOf(key);
        // One press passes here again on its way from the window to the
        // widget and up to the parents; only its first passage counts, or
        // it would look like a repeat of itself.
        const PressSeen seen{event, key.timestamp(), key.key(), key.isAutoRepeat()};
        if (seen == lastPress_)
            break;
        lastPress_ = seen;
        if (key.nativeScanCode() != 0)
            pressedByScanCode_[key.nativeScanCode()] = code;
        keys_.KeyPressed(code);
        break;
    }
    case QEvent::KeyRelease: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        lastPress_ = {};
        int code = VirtualKeyOf(key);
        if (const auto pressed = pressedByScanCode_.find(key.nativeScanCode());
            key.nativeScanCode() != 0 && pressed != pressedByScanCode_.end()) {
            code = pressed->second;
            if (!key.isAutoRepeat())
                pressedByScanCode_.erase(pressed);
        }
        keys_.KeyReleased(code, key.isAutoRepeat());
        break;
    }
    case QEvent::ApplicationDeactivate:
        // The releases of keys held now go to another application.
        keys_.ReleaseAll();
        pressedByScanCode_.clear();
        lastPress_ = {};
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orbela
