// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part every engine shares: carrying its events from its own thread to
// the listener on the GUI thread. A listener that was replaced or cleared
// before a posted event is delivered does not receive it, so an engine may
// be destroyed while its events still wait in the GUI queue.

#include <cstdint>
#include <memory>
#include <mutex>

#include "speech/gui_thread_poster.h"
#include "speech/speech_engine.h"

namespace orbela {

class EngineEventRelay {
public:
    explicit EngineEventRelay(GuiThreadPoster& poster);
    ~EngineEventRelay();
    EngineEventRelay(const EngineEventRelay&) = delete;
    EngineEventRelay& operator=(const EngineEventRelay&) = delete;

    // GUI thread only.
    void SetListener(SpeechEngineListener* listener);

    // Any thread.
    void PostAudioStart();
    void PostAudioStop(std::uint64_t requestsFinished);

private:
    // Read and written on the GUI thread only: by SetListener and by the
    // posted functions.
    struct Target {
        SpeechEngineListener* listener = nullptr;
    };
    std::shared_ptr<Target> CurrentTarget();

    GuiThreadPoster& poster_;
    std::mutex mutex_;  // guards the pointer, not the target
    std::shared_ptr<Target> target_;
};

} // namespace orbela
