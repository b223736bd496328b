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
    // started for the purpose).
    static std::unique_ptr<PulseOutput> Connect(Render render);
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Uncorks and fills the server's buffer now; connects again first if the
    // server went away since (at most once a second).
    void Start();
    // Call once a sound starts: where the server holds only silence, it is
    // replaced at once by audio rendered now, so the sound need not wait
    // behind it.
    void Prompt();
    // Corks: nothing is rendered and nothing wakes until the next Start().
    void Rest();
    // Drops what the server holds and renders it again from now, so that a
    // sound stopped a moment ago is not heard to its buffered end.
    void Cut();
    // False since the server went away, until a Start() connects again.
    bool Connected() const;

    struct Loop;

private:
    explicit PulseOutput(std::unique_ptr<Loop> loop);
    std::unique_ptr<Loop> loop_;
};

} // namespace orbela
