// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An audio device that records what the sound list asks of it. Its sources
// play until told otherwise, or, when `pollsUntilDone` is set, report the
// end of a once-played wave after that many looks at IsPlaying.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sound/audio_device.h"

namespace orbela::testing {

struct SourceRecord {
    std::size_t buffer = 0;
    bool alive = true;
    bool playing = false;
    PlayMode mode = PlayMode::Once;
    float pitch = 1;
    float gain = 1;
    float x = 0, y = 0, z = -1;
    int plays = 0;
    int stops = 0;
    int rewinds = 0;
    int pollsLeft = -1;  // -1: plays until stopped
    // Every call in order: "play", "stop", "rewind", "pitch", "gain", "position".
    std::vector<std::string> calls;
};

struct BufferRecord {
    WaveFormat format;
    std::vector<std::uint8_t> samples;
};

class RecordingAudioDevice final : public AudioDevice {
public:
    std::unique_ptr<AudioBuffer> CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override;

    // Sources of once-played waves stop by themselves after this many polls
    // of IsPlaying; -1 keeps them playing until stopped.
    int pollsUntilDone = -1;
    // The next CreateBuffer raises this error when set.
    std::string failNextBuffer;

    std::vector<BufferRecord> buffers;
    std::vector<std::shared_ptr<SourceRecord>> sources;

    // Every source ends its wave, as if all had played to their ends.
    void FinishAll()
    {
        for (auto& source : sources)
            source->playing = false;
    }
    std::size_t AliveSources() const
    {
        std::size_t count = 0;
        for (const auto& source : sources)
            count += source->alive ? 1 : 0;
        return count;
    }
};

} // namespace orbela::testing
