// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's sound objects: the sound device, the sound list on it,
// and what the runtime's sound statements reach them and the window's Timer
// through. They are attached to the runtime while they exist.

#include <memory>

#include "runtime/tone_timer.h"
#include "sound/audio_device.h"
#include "sound/sound_list.h"
#include "sound/sound_list_tone_sounds.h"

class QTimer;

namespace orbela {

class Runtime;

// The tone statement arms the main window's Timer; its tick ends the wait.
class QtToneTimer final : public ToneTimer {
public:
    explicit QtToneTimer(QTimer& timer) : timer_(timer) {}
    void Start(std::int32_t intervalMilliseconds) override;
    void Stop() override;

private:
    QTimer& timer_;
};

class TForm1Sound {
public:
    // A null device makes a silent list. `runtime` and `timer` must outlive
    // the objects.
    TForm1Sound(Runtime& runtime, std::unique_ptr<AudioDevice> device, QTimer& timer);
    ~TForm1Sound();
    TForm1Sound(const TForm1Sound&) = delete;
    TForm1Sound& operator=(const TForm1Sound&) = delete;

    SoundList& List() { return list_; }
    bool HasDevice() const { return device_ != nullptr; }

private:
    Runtime& runtime_;
    // Declared before the list, so that the list's buffers go first.
    std::unique_ptr<AudioDevice> device_;
    SoundList list_;
    SoundListToneSounds toneSounds_;
    QtToneTimer timer_;
};

} // namespace orbela
