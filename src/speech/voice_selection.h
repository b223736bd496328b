// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine side of choosing a voice and setting its speed, pitch and
// volume, as the voice dialog needs it: which list item is picked first,
// how a configured name is found, what ranges the three track bars get from
// the engine, and the tags the bars inject.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speech/speech_engine.h"

namespace orbela {

// The item picked when the list is filled: the first one named exactly
// "Jakub", else item 0; nullopt for an empty list.
std::optional<std::size_t> DefaultVoiceIndex(const std::vector<std::string>& names);

// The item whose whole text equals the name without regard to letter case
// (Windows-1250 texts); nullopt when there is none.
std::optional<std::size_t> FindVoiceIndex(const std::vector<std::string>& names, std::string_view name);

struct TrackBarSetup {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
    // Absent where the bar's tick frequency is left as it is.
    std::optional<int> tickFrequency;
};

// What the engine reports for one parameter; nullopt when it has no such
// parameter (the bar is then left as it is). The range is found by setting
// the smallest and the largest value of the parameter's width and reading
// back what the engine made of them; the current value is restored.
std::optional<TrackBarSetup> ReadSpeedRange(SpeechEngine& engine);
std::optional<TrackBarSetup> ReadPitchRange(SpeechEngine& engine);
// The volume bar shows bits 8 to 15 of the engine's 32-bit volume, so an
// engine whose volume runs 0..0xFFFFFFFF gets a bar of 0..255.
std::optional<TrackBarSetup> ReadVolumeRange(SpeechEngine& engine);

// The tags a bar's change injects: "\Spd=n\", "\Pit=n\", "\Vol=n\" (the
// volume bar's position times 256).
std::string SpeedTag(int position);
std::string PitchTag(int position);
std::string VolumeTag(int position);

// Applies a tag of those three kinds to the engine. A volume tag's value
// (0..65535) sets both 16-bit halves of the engine's volume. Raises Error
// for any other text.
void Inject(SpeechEngine& engine, std::string_view tag);

// A tag's value clamped to a bar's range, as a bar takes a position.
int ClampToBar(int position, const TrackBarSetup& bar);

} // namespace orbela
