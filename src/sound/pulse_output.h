// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One playback stream on the PulseAudio server (or a server speaking its
// protocol), filled by a renderer exactly when and as much as the server
// asks: one wake-up of libpulse's thread per request, none while it rests.
//
// The stream asks for no timing updates (they would wake the process a few
// times a second even while corked). Resting corks it; starting again drops
// what is stale and writes fresh audio at once from the caller's thread, so
// that the first sound does not wait for the server's next request. A
// server that goes away leaves the output quiet; the next Start() connects
// again.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

namespace orbela {

class PulseOutput {
public:
    static constexpr int Rate = 44100;
    static constexpr int Channels = 2;  // 16-bit signed, interleaved

    // Fills `frames` frames at `out`; called with libpulse's lock held.
    using Render = std::function<void(void* out, int frames)>;

    // Connected and corked, or nullptr when no server answers (none is
    // started for the purpose) or the module that speaks to it is missing.
    // libpulse and what it brings are loaded with the module, on the first
    // call, so that the window's start does not wait for them.
    static std::unique_ptr<PulseOutput> Connect(Render render);
    virtual ~PulseOutput() = default;

    // Uncorks and fills the server's buffer now; connects again first if the
    // server went away since (at most once a second).
    virtual void Start() = 0;
    // Call once a sound starts: where the server holds only silence, it is
    // replaced at once by audio rendered now, so the sound need not wait
    // behind it.
    virtual void Prompt() = 0;
    // Corks: nothing is rendered and nothing wakes until the next Start().
    virtual void Rest() = 0;
    // Drops what the server holds and renders it again from now, so that a
    // sound stopped a moment ago is not heard to its buffered end.
    virtual void Cut() = 0;
    // False since the server went away, until a Start() connects again.
    virtual bool Connected() const = 0;
};

// The module's entry: what Connect calls once the module is loaded.
extern "C" PulseOutput* orbela_connect_pulse_output(PulseOutput::Render* render);

} // namespace orbela
