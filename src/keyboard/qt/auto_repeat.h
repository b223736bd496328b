// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Held keys. X sends a held key's repeats as release and press pairs, and
// the toolkit recognises only some of the releases as repeats; the
// handlers would take the others for the key being let go (a chord typed
// again and again, an arrow's release answered at every repeat). With the
// X keyboard extension's detectable auto-repeat a held key sends repeated
// presses and one release at the end. Where that cannot be had (no X, the
// server refuses), the pairing filter does the same: a release followed by
// a press of the same key at the same moment is dropped.

#include <QObject>

#include <memory>

class QKeyEvent;

namespace orbela {

// Asks the X server for detectable auto-repeat on the application's own
// connection; false when there is no X connection or the server refuses.
bool RequestDetectableAutoRepeat();

// Holds back each key release for a moment: a press of the same key with
// the same timestamp turns it into a repeat, and the release is dropped;
// otherwise it is delivered as it was. Install it on the application.
class AutoRepeatPairing final : public QObject {
public:
    explicit AutoRepeatPairing(QObject* parent = nullptr);
    ~AutoRepeatPairing() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DeliverHeldRelease();

    struct HeldRelease;
    std::unique_ptr<HeldRelease> held_;
    bool delivering_ = false;
};

// The request at start, with the filter as the fallback; nothing under
// Wayland, whose repeats the toolkit marks.
void EnableHeldKeyRepeat(QObject& application);

} // namespace orbela
