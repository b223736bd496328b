// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio device on OpenAL Soft: the device with its context, an AL
// buffer per sound and an AL source per playing copy. Which output OpenAL
// Soft uses (a sound card, the null or the wave-file backend) is its own
// configuration's choice (ALSOFT_DRIVERS, ALSOFT_CONF).

#include <chrono>
#include <memory>
#include <string>

#include "sound/audio_device.h"

namespace orbela {

class OpenAlDevice final : public AudioDevice {
public:
    // Opens the named output, or the default one when the name is empty,
    // or joins it where it is open already (speech sounds on it too).
    // Its context is made current for the calling thread before each
    // operation, so use it from one thread (the GUI thread). Raises "DirectSound cannot be initialized"
    // or "Primary Buffer cannot be made", each followed by OpenAL's reason.
    // Once nothing on the output has played for restDelay (the first
    // opener's), it is paused, so that it stops mixing silence; the next
    // Play resumes it first.
    static std::unique_ptr<OpenAlDevice> Open(const std::string& deviceName = {},
                                              std::chrono::milliseconds restDelay = std::chrono::seconds(2));

    // True while the output is paused for want of sounds.
    bool Resting() const;

    std::unique_ptr<AudioBuffer> CreateBuffer(const WaveFormat& format,
                                              std::span<const std::uint8_t> samples) override;

    struct Context;

private:
    explicit OpenAlDevice(std::shared_ptr<Context> context) : context_(std::move(context)) {}

    // Shared with every buffer and source, so that the device closes only
    // when the last of them is gone.
    std::shared_ptr<Context> context_;
};

} // namespace orbela
