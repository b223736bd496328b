// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio output as the sound list sees it: a device makes buffers from
// wave samples, and a buffer makes sources, each of which plays those
// samples on its own. A sound's main buffer is a buffer with one source; its
// extra copies are more sources on the same buffer.
//
// What a caller may rely on: a source or buffer may outlive the objects
// that made it; a source starts out stopped at position 0 with pitch 1 and
// gain 1, centred; Play starts it from where it stands (Rewind first to
// start from the beginning); IsPlaying turns false by itself once a source
// playing once has reached its end. Failures raise orbela::Error with the
// sound player's texts followed by the device's reason.

#include <cstdint>
#include <memory>
#include <span>

#include "sound/wave.h"

namespace orbela {

enum class PlayMode { Once, Looping };

class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void Play(PlayMode mode) = 0;
    virtual void Stop() = 0;
    // Back to the first sample; a playing source stops.
    virtual void Rewind() = 0;
    // Playback rate as a factor of the samples' own rate.
    virtual void SetPitch(float pitch) = 0;
    // Linear amplitude factor, 0..1.
    virtual void SetGain(float gain) = 0;
    // Where the sound comes from, one unit from the listener: x from −1
    // (left) to 1 (right), z negative in front.
    virtual void SetPosition(float x, float y, float z) = 0;
    virtual bool IsPlaying() const = 0;
};

class AudioBuffer {
public:
    virtual ~AudioBuffer() = default;
    virtual std::unique_ptr<AudioSource> CreateSource() = 0;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Raises "Sound Buffer cannot be made: ..." for a format the device
    // cannot play, "Sound Buffer cannot be locked: ..." when the samples
    // cannot be copied in.
    virtual std::unique_ptr<AudioBuffer> CreateBuffer(const WaveFormat& format,
                                                      std::span<const std::uint8_t> samples) = 0;
};

} // namespace orbela
