// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order of the embedded engine's voice list: Czech first (the language
// of the hosted program), then Slovak and English, then the rest by name.

#include <vector>

#include "speech/speech_engine.h"

namespace orbela {

void SortVoicesForList(std::vector<VoiceInfo>& voices);

} // namespace orbela
