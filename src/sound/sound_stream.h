// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reader of "sounds.dat": a binary object stream of one sound list
// component, whose "List" collection holds one item per sound.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sound/wave.h"

namespace orbela {

// One item of the stream's "List", with the values a missing property keeps.
struct SoundRecord {
    std::string name;  // Windows-1250
    bool looped = false;
    std::int32_t maxPlayingCount = 0;  // never below 0
    Wave wave;
    // Why the wave was not read ("Wave is invalid..."), empty when it was:
    // one damaged wave must not cost the user every other sound.
    std::string damage;
};

// Reads a whole stream held in memory. A wrong signature raises
// "Invalid stream format"; any other flaw of the stream raises that text
// followed by what is wrong and at which byte. A wave whose bytes are all
// there but malformed is kept as a record whose `damage` says why. Nothing is read
// past the end of `stream`, and nothing larger than the stream is
// allocated, whatever its lengths claim.
std::vector<SoundRecord> ReadSoundStream(std::span<const std::uint8_t> stream);

} // namespace orbela
