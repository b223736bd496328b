// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_control.h"

#include "text/cp1250.h"
#include "settings/voice_settings.h"
#include "speech/speech_service.h"

namespace orbela {

SpeechEngine* VoiceControl::Engine() const
{
    return speech_.Engine(EngineSlot::Embedded);
}

const std::vector<VoiceInfo>& VoiceControl::ListVoices()
{
    SpeechEngine* engine = Engine();
    voices_ = engine ? engine->ListVoices() : std::vector<VoiceInfo>();
    complete_ = true;
    return voices_;
}

const std::vector<VoiceInfo>& VoiceControl::ListVoicesSoFar()
{
    SpeechEngine* engine = Engine();
    VoiceListing listing = engine ? engine->ListVoicesSoFar() : VoiceListing();
    voices_ = std::move(listing.voices);
    complete_ = listing.complete;
    return voices_;
}

std::vector<std::string> VoiceControl::Cp1250Names() const
{
    std::vector<std::string> names;
    for (const VoiceInfo& voice : voices_)
        names.push_back(Utf8ToCp1250Lossy(voice.name));
    return names;
}

void VoiceControl::Pick(std::optional<std::size_t> index)
{
    if (index && *index < voices_.size())
        picked_ = voices_[*index];
    else
        picked_.reset();
}

std::optional<VoiceControl::Ranges> VoiceControl::SelectPicked()
{
    SpeechEngine* engine = Engine();
    if (!engine || !picked_)
        return std::nullopt;
    engine->SelectVoice(picked_->identifier);
    return Ranges{ReadPitchRange(*engine), ReadSpeedRange(*engine), ReadVolumeRange(*engine)};
}

void VoiceControl::Apply(std::string_view tag)
{
    if (SpeechEngine* engine = Engine())
        Inject(*engine, tag);
}

VoiceControl::ChoiceResult VoiceControl::ApplyChoice(const VoiceChoice& choice)
{
    const bool configured = !choice.person.empty();
    const auto lookUp = [&] {
        const std::vector<std::string> names = Cp1250Names();
        return configured ? FindVoiceIndex(names, choice.person) : DefaultVoiceIndex(names);
    };
    ListVoicesSoFar();
    auto index = lookUp();
    if (!index && !complete_) {
        ListVoices();
        index = lookUp();
    }
    if (!index)
        return configured ? ChoiceResult::Missing : ChoiceResult::NoVoice;
    Pick(index);
    const auto ranges = SelectPicked();
    // Without a configured voice the engine keeps its own settings, as the
    // voice dialog's bars would show them.
    if (ranges && configured) {
        if (ranges->pitch)
            Apply(PitchTag(ClampToBar(choice.pitch, *ranges->pitch)));
        if (ranges->speed)
            Apply(SpeedTag(ClampToBar(choice.speed, *ranges->speed)));
        if (ranges->volume)
            Apply(VolumeTag(ClampToBar(choice.volume, *ranges->volume)));
    }
    return ChoiceResult::Selected;
}

} // namespace orbela
