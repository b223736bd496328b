// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_speech.h"

#include <utility>

#include "text/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "settings/ini_file.h"
#include "settings/voice_settings.h"
#include "speech/voice_control.h"
#include "speech/voice_dialog.h"
#ifdef ORBELA_HAVE_ESPEAK
#include "speech/espeak/espeak_engine.h"
#endif
#ifdef ORBELA_HAVE_SPEECHD
#include "speech/speechd/speechd_engine.h"
#endif

namespace orbela {

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
    if (ReadUsesSystemVoice(values)) {
        if (engines_.system)
            ConnectSystemVoice(service_, [this] { return engines_.system(events_); }, report);
        service_.SetUseSapi5(true);
        return std::nullopt;
    }
    VoiceControl control(service_);
    if (!StoredVoiceApplies(control, state_))
        return std::nullopt;
    const VoiceChoice choice = ReadVoiceChoice(values);
    try {
        switch (control.ApplyChoice(choice)) {
        case VoiceControl::ChoiceResult::Selected:
            service_.VoiceSelected();
            break;
        case VoiceControl::ChoiceResult::NoVoice:
            break;  // silent
        case VoiceControl::ChoiceResult::Missing:
            return MissingVoiceMessage(state_.language, choice.person);
        }
    } catch (const Error& error) {
        report.Report(error.what());
    }
    return std::nullopt;
}

} // namespace orbela
