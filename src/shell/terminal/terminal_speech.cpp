// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_speech.h"

#include <exception>
#include <utility>
#include <vector>

#include "i18n/interface_strings.h"
#include "runtime/cp1250.h"
#include "runtime/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "settings/ini_file.h"
#include "speech/voice_selection.h"
#ifdef ORBELA_HAVE_ESPEAK
#include "speech/espeak/espeak_engine.h"
#endif
#ifdef ORBELA_HAVE_SPEECHD
#include "speech/speechd/speechd_engine.h"
#endif

namespace orbela {
namespace {

constexpr const char* VoiceSection = "Voice";

// What the voice dialog's bar would make of a configured value: clamped to
// the engine's range and injected as the bar's tag.
void ApplyParameter(SpeechEngine& engine, const std::optional<TrackBarSetup>& bar, int configured,
                    std::string (*tag)(int))
{
    if (bar)
        Inject(engine, tag(ClampToBar(configured, *bar)));
}

} // namespace

TerminalSpeechEngines InstalledSpeechEngines()
{
    TerminalSpeechEngines engines;
#ifdef ORBELA_HAVE_ESPEAK
    engines.embedded = [](GuiThreadPoster& poster) { return std::make_unique<EspeakEngine>(poster); };
#endif
#ifdef ORBELA_HAVE_SPEECHD
    engines.system = [](GuiThreadPoster& poster) { return std::make_unique<SpeechdEngine>(poster); };
#endif
    return engines;
}

TerminalSpeech::TerminalSpeech(const RuntimeState& state, TerminalSpeechEngines engines)
    : state_(state), engines_(std::move(engines)), service_(state, events_)
{
    if (!engines_.embedded)
        return;
    try {
        service_.SetEngine(EngineSlot::Embedded, engines_.embedded(events_));
    } catch (const Error&) {
        // No engine: the first start writes that voice is not allowed.
    }
}

std::optional<std::string> TerminalSpeech::ApplySettings(const IniFile& configuration, ErrorReport& report)
{
    const IniValues values = configuration.Load();
    if (values.ReadBool(VoiceSection, "sapi5", false)) {
        if (engines_.system) {
            try {
                service_.SetEngine(EngineSlot::System, engines_.system(events_));
            } catch (const std::exception& error) {
                report.Report(error.what());
            }
        }
        service_.SetUseSapi5(true);
        return std::nullopt;
    }
    SpeechEngine* engine = service_.Engine(EngineSlot::Embedded);
    if (!engine || !state_.voiceallowed)
        return std::nullopt;
    const std::vector<VoiceInfo> voices = engine->ListVoices();
    std::vector<std::string> names;
    for (const VoiceInfo& voice : voices)
        names.push_back(Utf8ToCp1250Lossy(voice.name));
    const std::string person = values.ReadString(VoiceSection, "person", "");
    std::optional<std::size_t> pick = person.empty() ? DefaultVoiceIndex(names) : FindVoiceIndex(names, person);
    if (!pick) {
        if (person.empty())
            return std::nullopt;  // no voice at all: silent
        return LoadLanguageString(state_.language, InterfaceString::VoiceMissing) + " " + person;
    }
    try {
        engine->SelectVoice(voices[*pick].identifier);
        service_.Flags().engineready = true;
        // Without a configured voice the engine keeps its own settings, as
        // the voice dialog's bars would show them.
        if (!person.empty()) {
            ApplyParameter(*engine, ReadPitchRange(*engine), values.ReadInteger(VoiceSection, "pitch", 0),
                           PitchTag);
            ApplyParameter(*engine, ReadSpeedRange(*engine), values.ReadInteger(VoiceSection, "speed", 0),
                           SpeedTag);
            ApplyParameter(*engine, ReadVolumeRange(*engine),
                           values.ReadInteger(VoiceSection, "volume", 255), VolumeTag);
        }
    } catch (const Error& error) {
        report.Report(error.what());
    }
    return std::nullopt;
}

} // namespace orbela
