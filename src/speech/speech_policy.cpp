// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_policy.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace orbela {

std::optional<SpeechMode> ParseSpeechMode(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SpeechMode mode : {SpeechMode::Auto, SpeechMode::Self, SpeechMode::ScreenReader}) {
        if (lower == SpeechModeName(mode))
            return mode;
    }
    return std::nullopt;
}

std::string_view SpeechModeName(SpeechMode mode)
{
    switch (mode) {
    case SpeechMode::Auto:
        return "auto";
    case SpeechMode::Self:
        return "self";
    case SpeechMode::ScreenReader:
        return "screenreader";
    }
    return "auto";
}

SpeechMode SpeechPolicy::Effective() const
{
    if (chosen_ != SpeechMode::Auto)
        return chosen_;
    return ScreenReaderRunning() ? SpeechMode::ScreenReader : SpeechMode::Self;
}

bool SpeechPolicy::ScreenReaderRunning() const
{
    TakeFirstAnswer();
    return screenReaderRunning_;
}

void SpeechPolicy::TakeFirstAnswer() const
{
    if (!pending_)
        return;
    // Cleared first: the answer is taken once, even if taking it throws.
    const auto answer = std::move(pending_);
    pending_ = nullptr;
    screenReaderRunning_ = answer();
}

void SpeechPolicy::Choose(SpeechMode mode)
{
    const SpeechMode before = Effective();
    chosen_ = mode;
    Update(before);
}

void SpeechPolicy::SetScreenReaderRunning(bool running)
{
    // A later answer replaces the first one, which is still taken for
    // `before`: a change is a change from what was found.
    const SpeechMode before = Effective();
    screenReaderRunning_ = running;
    Update(before);
}

void SpeechPolicy::Update(SpeechMode before)
{
    if (Effective() != before && changed_)
        changed_(Effective());
}

bool SpeechPolicy::Allows(Utterance what) const
{
    if (Effective() != SpeechMode::ScreenReader)
        return true;
    switch (what) {
    case Utterance::PrintedLine:
    case Utterance::ChordCharacter:
    case Utterance::ReviewPosition:
    case Utterance::ReviewBoundary:
    case Utterance::ModeAnnouncement:
    case Utterance::Confirmation:
        return true;
    case Utterance::FieldEcho:
    case Utterance::ReviewText:
    case Utterance::Focus:
    case Utterance::Message:
        return false;
    }
    return true;
}

} // namespace orbela
