// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One text-to-speech engine as the speech service drives it: a few commands
// (queue a text, reset, parameters, voices) and two events reported back
// (audio started, audio ended). The embedded engine and the system speech
// service both stand behind it, and so does the recording engine of tests.
//
// Every command is called on the GUI thread. Events reach the listener on
// the GUI thread too, as queued events (never from inside a command), and
// the listener does nothing but set or clear flags.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbela {

enum class SpeechMarkup {
    Plain,  // the text is spoken as it stands
    Ssml,   // the text may carry speech markup tags
};

enum class SpeechParameter { Speed, Pitch, Volume };

struct VoiceInfo {
    std::string name;        // shown in the voice list (UTF-8)
    std::string identifier;  // what SelectVoice takes: the voice's mode
    std::string language;    // e.g. "cs", "en-gb"
};

// The voices an engine can tell of without waiting.
struct VoiceListing {
    std::vector<VoiceInfo> voices;
    // False while the engine still tries voices: more may follow, after
    // those listed, which keep their places.
    bool complete = true;
};

class SpeechEngineListener {
public:
    virtual ~SpeechEngineListener() = default;
    // The first samples of a request have reached the audio device.
    virtual void AudioStart() = 0;
    // Audio has stopped: everything queued has played or was reset.
    // requestsFinished counts the Speak calls this engine had accepted that
    // are over by now (played, or dropped by a reset); a caller that counts
    // its own Speak calls knows from it whether its request is done.
    virtual void AudioStop(std::uint64_t requestsFinished) = 0;
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    // Where events go; nullptr drops them. Events posted earlier but not yet
    // delivered are dropped as well once the listener is changed to nullptr.
    virtual void SetListener(SpeechEngineListener* listener) = 0;

    // Queues the UTF-8 text and returns at once. Every accepted request is
    // followed, some time later, by an AudioStop that counts it, also when
    // it produces no sound. Raises Error when the engine refuses it.
    virtual void Speak(std::string_view utf8Text, SpeechMarkup markup) = 0;
    // Silences at once and drops everything queued.
    virtual void Reset() = 0;

    // The current value; nullopt when the engine has no such parameter.
    virtual std::optional<std::uint32_t> Parameter(SpeechParameter parameter) const = 0;
    // Sets the value, clamped to the engine's range, for the requests that
    // follow. False when the engine has no such parameter.
    virtual bool SetParameter(SpeechParameter parameter, std::uint32_t value) = 0;

    // The voices that can be selected, in the order a voice list shows them.
    virtual std::vector<VoiceInfo> ListVoices() const = 0;
    // The first of them, as far as they are known now: never waits.
    virtual VoiceListing ListVoicesSoFar() const { return {ListVoices(), true}; }
    // Raises Error when there is no voice with that identifier.
    virtual void SelectVoice(const std::string& identifier) = 0;
};

} // namespace orbela
