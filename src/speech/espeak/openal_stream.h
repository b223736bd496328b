// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streaming OpenAL source on the default output, which it shares with the
// sound player: mono 16-bit blocks are queued as buffers and play one after
// another. Created, used and destroyed on one thread (the embedded engine's
// worker), whose current context it makes its own.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

typedef struct ALCcontext_struct ALCcontext;

namespace orbela {

class OpenAlOutput;

class OpenAlStream {
public:
    // Opens the default output, or joins it where it is open already;
    // raises Error when there is none. Once nothing on the output has
    // played for restDelay (the first opener's), it is paused, so that it
    // stops mixing silence; the next Queue resumes it first.
    explicit OpenAlStream(int sampleRate, std::chrono::milliseconds restDelay = std::chrono::seconds(2));
    ~OpenAlStream();
    OpenAlStream(const OpenAlStream&) = delete;
    OpenAlStream& operator=(const OpenAlStream&) = delete;

    // True when a block can be queued now without waiting.
    bool HasFreeBuffer();
    // Queues a block and starts the source if it is not playing (also
    // after it ran dry). Call only when HasFreeBuffer() is true.
    void Queue(const std::int16_t* samples, std::size_t count);
    // True while queued samples have not all played.
    bool Playing();
    // Silences at once and drops everything queued.
    void Stop();
    // Samples queued and not yet played.
    std::size_t SamplesPending();
    int SampleRate() const { return sampleRate_; }
    // True while the output is paused for want of sounds.
    bool Resting() const;

private:
    void Reclaim();
    void JoinRest();

    int sampleRate_;
    std::shared_ptr<OpenAlOutput> output_;
    ALCcontext* context_ = nullptr;
    unsigned source_ = 0;
    std::vector<unsigned> buffers_;
    std::vector<unsigned> free_;
    std::vector<std::size_t> queuedSizes_;  // in queue order
    std::optional<int> silenceCheck_;
};

} // namespace orbela
