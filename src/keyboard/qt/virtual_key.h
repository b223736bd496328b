// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's key events in the terms the keyboard handlers are written in: the
// platform's virtual-key codes, and a filter on the whole application that
// keeps the per-message key state as every press and release is delivered.

#include <QObject>

#include <unordered_map>

#include "keyboard/key_state.h"

class QKeyEvent;

namespace orbela {

// The virtual-key code of the event's key; 0 for a key without one.
int VirtualKeyOf(const QKeyEvent& event);

// Installed on the application, so it sees each key event before any
// widget or window filter does. A release is matched to its press by the
// hardware key, so that a modifier changed while a key is held does not
// leave the key down.
class KeyStateFilter final : public QObject {
public:
    explicit KeyStateFilter(KeyStateTable& keys, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PressSeen {
        const QEvent* event = nullptr;
        quint64 timestamp = 0;
        int key = 0;
        bool autoRepeat = false;
        bool operator==(const PressSeen&) const = default;
    };

    KeyStateTable& keys_;
    std::unordered_map<quint32, int> pressedByScanCode_;
    PressSeen lastPress_;
};

} // namespace orbela
