// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime's shared state, with the start values it has when the process
// starts. Everything runs on one thread, so nothing here is locked: handlers
// that run nested inside a statement's wait read and change it directly.

#include <array>
#include <cstdint>
#include <string>

#include "runtime/tscrcursor.h"

namespace orbela {

inline constexpr std::size_t RamImageSize = 65536;
using RamImage = std::array<std::uint8_t, RamImageSize>;

struct RuntimeState {
    tscrcursor scrcursor;
    // Line-end mode of the output statement in progress: 0 new line,
    // 1 stay, 2 next tab column.
    std::uint8_t printmode = 0;
    // The rest of the last typed line, handed out field by field.
    std::string pendinginput;
    std::uint8_t sndwaveset = 1;
    std::int32_t sndduration = 1;
    // True while a tone waits; the timer's tick and main-window keys clear it.
    bool timerwait = false;
    RamImage ramimage{};
    std::string keybuffer;
    bool startedonce = false;

    // Settings, set from the configuration file at start.
    bool voiceallowed = false;
    bool orbelasounds = true;
    std::int32_t sndvolume = 0;
    bool braillekeys = false;

    // The current user-interface language: 1000 Czech, 2000 English,
    // 3000 Slovak.
    int language = 1000;
};

} // namespace orbela
