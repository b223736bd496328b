// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/pulse_output.h"

#include <pulse/context.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/timeval.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>

namespace orbela {

namespace {

constexpr std::size_t FrameBytes = PulseOutput::Channels * 2;
// The server asks for 2048 frames (46 ms) at a time and keeps two such
// periods queued: under 100 wake-ups a second while speaking. A sound that
// starts out of silence, or after a stop, does not wait behind them (what
// is queued is replaced), so the period sets the wake-ups, not the latency
// of a key; only a sound starting under another one may wait up to 93 ms.
constexpr std::size_t PeriodBytes = 2048 * FrameBytes;
constexpr std::size_t TargetBytes = 2 * PeriodBytes;
// A local server answers in milliseconds; one that hangs must not hold a
// sound (and the thread that plays it) for long.
constexpr pa_usec_t ConnectTimeout = PA_USEC_PER_SEC;
// OpenAL dithers its 16-bit output: its silence is a sample or two of noise.
constexpr std::int16_t SilenceLevel = 4;
constexpr auto ReconnectInterval = std::chrono::seconds(1);

} // namespace

struct PulseOutput::Loop {
    pa_threaded_mainloop* mainloop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    Render render;
    bool running = false;  // uncorked and being filled
    bool timedOut = false;
    // Bytes written since the last flush, and how many of the last ones
    // were silence: when all that the server holds is silence, a new sound
    // may replace it.
    std::size_t writtenSinceFlush = 0;
    std::size_t trailingSilence = 0;
    std::atomic<bool> connected{false};
    std::chrono::steady_clock::time_point lastAttempt;

    ~Loop()
    {
        if (!mainloop)
            return;
        pa_threaded_mainloop_lock(mainloop);
        Close();
        pa_threaded_mainloop_unlock(mainloop);
        pa_threaded_mainloop_stop(mainloop);
        pa_threaded_mainloop_free(mainloop);
    }

    static void OnContextState(pa_context* context, void* self)
    {
        auto* loop = static_cast<Loop*>(self);
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
            loop->connected = false;
        pa_threaded_mainloop_signal(loop->mainloop, 0);
    }

    static void OnStreamState(pa_stream* stream, void* self)
    {
        auto* loop = static_cast<Loop*>(self);
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
            loop->connected = false;
        pa_threaded_mainloop_signal(loop->mainloop, 0);
    }

    static void OnTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
    {
        auto* loop = static_cast<Loop*>(self);
        loop->timedOut = true;
        pa_threaded_mainloop_signal(loop->mainloop, 0);
    }

    static void OnWrite(pa_stream*, std::size_t bytes, void* self)
    {
        auto* loop = static_cast<Loop*>(self);
        if (loop->running)
            loop->Fill(bytes);
    }

    // Renders and writes `bytes` (whole frames) now. Lock held.
    void Fill(std::size_t bytes)
    {
        while (bytes >= FrameBytes) {
            void* data = nullptr;
            std::size_t size = bytes;
            if (pa_stream_begin_write(stream, &data, &size) < 0 || !data)
                return;
            size = std::min(size, bytes) / FrameBytes * FrameBytes;
            if (size == 0) {
                pa_stream_cancel_write(stream);
                return;
            }
            render(data, static_cast<int>(size / FrameBytes));
            const auto* begin = static_cast<const std::int16_t*>(data);
            const bool silent = std::all_of(begin, begin + size / 2, [](std::int16_t sample) {
                return sample >= -SilenceLevel && sample <= SilenceLevel;
            });
            if (pa_stream_write(stream, data, size, nullptr, 0, PA_SEEK_RELATIVE) < 0)
                return;
            writtenSinceFlush += size;
            trailingSilence = silent ? trailingSilence + size : 0;
            bytes -= size;
        }
    }

    // Yes once ready, no once failed, nothing yet while connecting.
    static std::optional<bool> Settled(bool ready, bool good)
    {
        if (ready)
            return true;
        if (!good)
            return false;
        return std::nullopt;
    }

    // Waits (lock held, never on the loop's own thread) until `ready` says
    // yes or no, or the connect timeout passes.
    template <typename Ready>
    bool WaitUntil(Ready ready)
    {
        timedOut = false;
        pa_time_event* timer = pa_context_rttime_new(context, pa_rtclock_now() + ConnectTimeout, OnTimeout, this);
        std::optional<bool> answer;
        while (!(answer = ready()) && !timedOut)
            pa_threaded_mainloop_wait(mainloop);
        if (timer)
            pa_threaded_mainloop_get_api(mainloop)->time_free(timer);
        return answer.value_or(false);
    }

    // Lock held.
    bool Open()
    {
        lastAttempt = std::chrono::steady_clock::now();
        context = pa_context_new(pa_threaded_mainloop_get_api(mainloop), "orbela");
        if (!context)
            return false;
        pa_context_set_state_callback(context, OnContextState, this);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return Close();
        const bool contextReady = WaitUntil([this] {
            const pa_context_state_t state = pa_context_get_state(context);
            return Settled(state == PA_CONTEXT_READY, PA_CONTEXT_IS_GOOD(state));
        });
        if (!contextReady)
            return Close();

        const pa_sample_spec sampleFormat{PA_SAMPLE_S16NE, Rate, Channels};
        stream = pa_stream_new(context, "speech and sounds", &sampleFormat, nullptr);
        if (!stream)
            return Close();
        pa_stream_set_state_callback(stream, OnStreamState, this);
        pa_stream_set_write_callback(stream, OnWrite, this);
        // No automatic timing updates: they keep waking the process even
        // while the stream is corked.
        const pa_buffer_attr attributes{.maxlength = static_cast<std::uint32_t>(-1),
                                        .tlength = TargetBytes,
                                        .prebuf = PeriodBytes,
                                        .minreq = PeriodBytes,
                                        .fragsize = static_cast<std::uint32_t>(-1)};
        const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
        if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0)
            return Close();
        const bool streamReady = WaitUntil([this] {
            const pa_stream_state_t state = pa_stream_get_state(stream);
            return Settled(state == PA_STREAM_READY, PA_STREAM_IS_GOOD(state));
        });
        if (!streamReady)
            return Close();
        running = false;
        connected = true;
        return true;
    }

    // Lock held; always false, for Open's failures.
    bool Close()
    {
        connected = false;
        running = false;
        if (stream) {
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
            stream = nullptr;
        }
        if (context) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
        return false;
    }

    // Drops what the server holds for the stream and writes a fresh
    // target's worth in its place. Lock held.
    void Refill()
    {
        if (pa_operation* flush = pa_stream_flush(stream, nullptr, nullptr))
            pa_operation_unref(flush);
        writtenSinceFlush = 0;
        trailingSilence = 0;
        Fill(TargetBytes);
    }

    // True when the server holds nothing but silence (never more than a
    // few targets are queued). Lock held.
    bool HoldsOnlySilence() const
    {
        return trailingSilence == writtenSinceFlush || trailingSilence >= 4 * TargetBytes;
    }
};

std::unique_ptr<PulseOutput> PulseOutput::Connect(Render render)
{
    auto loop = std::make_unique<Loop>();
    loop->render = std::move(render);
    loop->mainloop = pa_threaded_mainloop_new();
    if (!loop->mainloop)
        return nullptr;
    pa_threaded_mainloop_set_name(loop->mainloop, "sound-server");
    if (pa_threaded_mainloop_start(loop->mainloop) < 0) {
        pa_threaded_mainloop_free(loop->mainloop);
        loop->mainloop = nullptr;
        return nullptr;
    }
    pa_threaded_mainloop_lock(loop->mainloop);
    const bool opened = loop->Open();
    pa_threaded_mainloop_unlock(loop->mainloop);
    if (!opened)
        return nullptr;
    return std::unique_ptr<PulseOutput>(new PulseOutput(std::move(loop)));
}

PulseOutput::PulseOutput(std::unique_ptr<Loop> loop) : loop_(std::move(loop)) {}

PulseOutput::~PulseOutput() = default;

void PulseOutput::Start()
{
    Loop& loop = *loop_;
    pa_threaded_mainloop_lock(loop.mainloop);
    if (!loop.connected && std::chrono::steady_clock::now() - loop.lastAttempt >= ReconnectInterval) {
        loop.Close();
        loop.Open();
    }
    if (loop.connected && !loop.running) {
        loop.running = true;
        // Written before the uncork, so that the server starts with it.
        loop.Refill();
        if (pa_operation* cork = pa_stream_cork(loop.stream, 0, nullptr, nullptr))
            pa_operation_unref(cork);
    }
    pa_threaded_mainloop_unlock(loop.mainloop);
}

void PulseOutput::Prompt()
{
    Loop& loop = *loop_;
    pa_threaded_mainloop_lock(loop.mainloop);
    if (loop.connected && loop.running && loop.HoldsOnlySilence())
        loop.Refill();
    pa_threaded_mainloop_unlock(loop.mainloop);
}

void PulseOutput::Rest()
{
    Loop& loop = *loop_;
    pa_threaded_mainloop_lock(loop.mainloop);
    if (loop.connected && loop.running) {
        if (pa_operation* cork = pa_stream_cork(loop.stream, 1, nullptr, nullptr))
            pa_operation_unref(cork);
    }
    loop.running = false;
    pa_threaded_mainloop_unlock(loop.mainloop);
}

void PulseOutput::Cut()
{
    Loop& loop = *loop_;
    pa_threaded_mainloop_lock(loop.mainloop);
    if (loop.connected && loop.running)
        loop.Refill();
    pa_threaded_mainloop_unlock(loop.mainloop);
}

bool PulseOutput::Connected() const
{
    return loop_->connected;
}

} // namespace orbela
