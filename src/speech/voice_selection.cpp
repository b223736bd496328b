// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_selection.h"

#include <algorithm>
#include <charconv>

#include "text/error.h"
#include "speech/capital_letters.h"

namespace orbela {

namespace {

struct RawRange {
    std::uint32_t minimum;
    std::uint32_t maximum;
    std::uint32_t current;
};

std::optional<RawRange> ReadRange(SpeechEngine& engine, SpeechParameter parameter, std::uint32_t widest)
{
    const auto current = engine.Parameter(parameter);
    if (!current || !engine.SetParameter(parameter, *current))
        return std::nullopt;
    engine.SetParameter(parameter, 0);
    const auto minimum = engine.Parameter(parameter).value_or(0);
    engine.SetParameter(parameter, widest);
    const auto maximum = engine.Parameter(parameter).value_or(widest);
    engine.SetParameter(parameter, *current);
    return RawRange{minimum, maximum, *current};
}

std::optional<TrackBarSetup> FullBar(const std::optional<RawRange>& range)
{
    if (!range)
        return std::nullopt;
    TrackBarSetup bar;
    bar.minimum = static_cast<int>(range->minimum);
    bar.maximum = static_cast<int>(range->maximum);
    bar.position = static_cast<int>(range->current);
    bar.tickFrequency = static_cast<int>(static_cast<std::uint32_t>(range->maximum - range->minimum) / 10);
    return bar;
}

int VolumeBits(std::uint32_t value)
{
    return static_cast<int>((value >> 8) & 0xFF);
}

std::string Tag(std::string_view name, long long value)
{
    return "\\" + std::string(name) + "=" + std::to_string(value) + "\\";
}

} // namespace

std::optional<std::size_t> DefaultVoiceIndex(const std::vector<std::string>& names)
{
    if (names.empty())
        return std::nullopt;
    const auto jakub = std::find(names.begin(), names.end(), "Jakub");
    if (jakub != names.end())
        return static_cast<std::size_t>(jakub - names.begin());
    return 0;
}

std::optional<std::size_t> FindVoiceIndex(const std::vector<std::string>& names, std::string_view name)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (EqualIgnoringCase(names[i], name))
            return i;
    }
    return std::nullopt;
}

std::optional<TrackBarSetup> ReadSpeedRange(SpeechEngine& engine)
{
    return FullBar(ReadRange(engine, SpeechParameter::Speed, 0xFFFFFFFFu));
}

std::optional<TrackBarSetup> ReadPitchRange(SpeechEngine& engine)
{
    return FullBar(ReadRange(engine, SpeechParameter::Pitch, 0xFFFFu));
}

std::optional<TrackBarSetup> ReadVolumeRange(SpeechEngine& engine)
{
    const auto range = ReadRange(engine, SpeechParameter::Volume, 0xFFFFFFFFu);
    if (!range)
        return std::nullopt;
    TrackBarSetup bar;
    bar.minimum = VolumeBits(range->minimum);
    bar.maximum = VolumeBits(range->maximum);
    bar.position = VolumeBits(range->current);
    return bar;
}

std::string SpeedTag(int position)
{
    return Tag("Spd", position);
}

std::string PitchTag(int position)
{
    return Tag("Pit", position);
}

std::string VolumeTag(int position)
{
    return Tag("Vol", static_cast<long long>(position) * 256);
}

void Inject(SpeechEngine& engine, std::string_view tag)
{
    const auto fail = [&] { return Error("Unknown speech tag " + std::string(tag)); };
    if (tag.size() < 7 || tag.front() != '\\' || tag.back() != '\\' || tag[4] != '=')
        throw fail();
    const std::string_view name = tag.substr(1, 3);
    const std::string_view digits = tag.substr(5, tag.size() - 6);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        throw fail();
    if (name == "Spd") {
        engine.SetParameter(SpeechParameter::Speed, value);
    } else if (name == "Pit") {
        engine.SetParameter(SpeechParameter::Pitch, value);
    } else if (name == "Vol") {
        const std::uint32_t level = std::min<std::uint32_t>(value, 0xFFFF);
        engine.SetParameter(SpeechParameter::Volume, level | (level << 16));
    } else {
        throw fail();
    }
}

int ClampToBar(int position, const TrackBarSetup& bar)
{
    return std::clamp(position, bar.minimum, std::max(bar.minimum, bar.maximum));
}

} // namespace orbela
