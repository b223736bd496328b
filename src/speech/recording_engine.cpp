// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/recording_engine.h"

#include <algorithm>

#include "text/error.h"

namespace orbela {

RecordingEngine::RecordingEngine(GuiThreadPoster& poster, Playback playback) : relay_(poster), playback_(playback) {}

void RecordingEngine::Speak(std::string_view utf8Text, SpeechMarkup markup)
{
    if (!failure_.empty()) {
        const std::string message = std::move(failure_);
        failure_.clear();
        throw Error(message);
    }
    commands_.push_back({Command::Kind::Speak, std::string(utf8Text), markup});
    if (onSpeak_)
        onSpeak_(commands_.back().text);
    ++accepted_;
    if (playback_ == Playback::Manual)
        return;
    relay_.PostAudioStart();
    if (playback_ == Playback::Immediate)
        relay_.PostAudioStop(accepted_);
}

void RecordingEngine::Reset()
{
    commands_.push_back({Command::Kind::Reset, {}});
    relay_.PostAudioStop(accepted_);
}

void RecordingEngine::Finish()
{
    relay_.PostAudioStop(accepted_);
}

std::optional<std::uint32_t> RecordingEngine::Parameter(SpeechParameter parameter) const
{
    const auto found = ranges_.find(parameter);
    if (found == ranges_.end())
        return std::nullopt;
    return found->second.value;
}

bool RecordingEngine::SetParameter(SpeechParameter parameter, std::uint32_t value)
{
    const auto found = ranges_.find(parameter);
    if (found == ranges_.end())
        return false;
    Range& range = found->second;
    range.value = std::clamp(value, range.minimum, range.maximum);
    commands_.push_back({Command::Kind::SetParameter, {}, SpeechMarkup::Plain, parameter, value});
    return true;
}

std::vector<VoiceInfo> RecordingEngine::ListVoices() const
{
    if (knownVoices_ < voices_.size()) {
        ++voiceWaits_;
        knownVoices_ = SIZE_MAX;
    }
    return voices_;
}

VoiceListing RecordingEngine::ListVoicesSoFar() const
{
    const std::size_t known = std::min(knownVoices_, voices_.size());
    return {{voices_.begin(), voices_.begin() + static_cast<std::ptrdiff_t>(known)}, known == voices_.size()};
}

void RecordingEngine::SelectVoice(const std::string& identifier)
{
    const auto named = [&](const VoiceInfo& voice) { return voice.identifier == identifier; };
    const auto knows = [&](const std::vector<VoiceInfo>& voices) {
        return std::any_of(voices.begin(), voices.end(), named);
    };
    // A voice not known yet is waited for, as an engine still trying its
    // voices would.
    const bool known = knows(ListVoicesSoFar().voices) || knows(ListVoices());
    if (!known)
        throw Error("No voice " + identifier);
    commands_.push_back({Command::Kind::SelectVoice, identifier});
}

std::vector<std::string> RecordingEngine::SpokenTexts() const
{
    std::vector<std::string> texts;
    for (const auto& command : commands_) {
        if (command.kind == Command::Kind::Speak)
            texts.push_back(command.text);
    }
    return texts;
}

} // namespace orbela
