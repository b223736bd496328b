// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The embedded engine's voices and the choice applied to them, without a
// window: the voice dialog shows and changes it, and the terminal applies
// the configured choice with it. The engine flags stay with the callers.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speech/speech_engine.h"
#include "speech/voice_selection.h"

namespace orbela {

class SpeechService;
struct VoiceChoice;

class VoiceControl {
public:
    // `speech` must outlive this object.
    explicit VoiceControl(SpeechService& speech) : speech_(speech) {}

    // The embedded engine; null without one.
    SpeechEngine* Engine() const;

    // Asks the engine for its voices again (none without an engine), and
    // waits for all of them; their names are UTF-8 as the engine gives them.
    const std::vector<VoiceInfo>& ListVoices();
    // The same without waiting: the voices the engine knows so far, the
    // first of them at least. Complete() tells whether that was all.
    const std::vector<VoiceInfo>& ListVoicesSoFar();
    bool Complete() const { return complete_; }
    const std::vector<VoiceInfo>& Voices() const { return voices_; }
    // The listed names in Windows-1250, as the configuration keeps them.
    std::vector<std::string> Cp1250Names() const;

    // Picks a listed voice; an index outside the list picks none.
    void Pick(std::optional<std::size_t> index);
    const std::optional<VoiceInfo>& Picked() const { return picked_; }

    // What the three bars get from the engine once a voice is selected.
    struct Ranges {
        std::optional<TrackBarSetup> pitch;
        std::optional<TrackBarSetup> speed;
        std::optional<TrackBarSetup> volume;
    };
    // Selects the picked voice in the engine and reads the bars' ranges.
    // Nullopt (nothing done) without an engine or a picked voice.
    std::optional<Ranges> SelectPicked();

    // Applies a bar's tag (see Inject) to the engine, if there is one.
    void Apply(std::string_view tag);

    // What applying a configured choice came to.
    enum class ChoiceResult { Selected, NoVoice, Missing };
    // Lists the voices, picks the configured one (the default voice when
    // none is configured) and selects it; a configured voice also brings
    // its pitch, speed and volume, clamped to the engine's ranges. Only a
    // configured voice not tried yet waits for the engine's other voices.
    // Missing: the configured voice is not listed; NoVoice: no voice to
    // pick.
    ChoiceResult ApplyChoice(const VoiceChoice& choice);

private:
    SpeechService& speech_;
    std::vector<VoiceInfo> voices_;
    bool complete_ = true;
    std::optional<VoiceInfo> picked_;
};

} // namespace orbela
