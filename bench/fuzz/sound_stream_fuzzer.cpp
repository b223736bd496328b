// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the reader of "sounds.dat" must turn any input into
// sounds or an orbela::Error, and never read outside it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "text/error.h"
#include "sound/sound_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        auto sounds = orbela::ReadSoundStream(std::span<const std::uint8_t>(data, size));
        // Touch what was read, so that nothing is optimised away.
        std::size_t total = 0;
        for (const auto& sound : sounds) {
            total += sound.name.size() + sound.wave.samples.size() + sound.wave.FrameCount();
            if (auto format = sound.wave.Format())
                total += format->channels;
        }
        return total == static_cast<std::size_t>(-1) ? 1 : 0;
    } catch (const orbela::Error&) {
        return 0;
    }
}
