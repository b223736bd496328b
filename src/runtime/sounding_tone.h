// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A chord started by the tone statement's first half, for the one who must
// stop it again.

#include <cstddef>
#include <cstdint>

namespace orbela {

struct SoundingTone {
    // How long the chord is to sound; 0 when nothing sounds.
    std::int32_t milliseconds = 0;
    std::int64_t waveset = 0;
    // The waves started, "snd1<set>" onwards.
    std::size_t waves = 0;
};

} // namespace orbela
