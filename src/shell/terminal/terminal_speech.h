// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal front-end's speech: the same speech service as the desktop,
// with the embedded engine, or the system speech service where the
// configuration asks for it, and the configured voice with its pitch, speed
// and volume.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/terminal/terminal_events.h"
#include "speech/speech_engine.h"
#include "speech/speech_service.h"

namespace orbela {

class ErrorReport;
class IniFile;
struct RuntimeState;

struct TerminalSpeechEngines {
    // Each raises Error when its engine cannot be had; none means absent.
    std::function<std::unique_ptr<SpeechEngine>(GuiThreadPoster&)> embedded;
    std::function<std::unique_ptr<SpeechEngine>(GuiThreadPoster&)> system;
};

// The engines this program was built with.
TerminalSpeechEngines InstalledSpeechEngines();

class TerminalSpeech {
public:
    // Creates the embedded engine; call before the configuration is read,
    // whose first start asks whether it exists.
    explicit TerminalSpeech(const RuntimeState& state, TerminalSpeechEngines engines = InstalledSpeechEngines());

    bool EmbeddedEngineExists() const { return service_.Engine(EngineSlot::Embedded) != nullptr; }

    // After the configuration has been read: the engine switch's state
    // (section Voice, key sapi5) and the configured voice. Returns the text
    // of the message that ends the program when the configured voice is not
    // installed (Windows-1250), nullopt otherwise. Engine failures go to the
    // report; speech is then silent.
    std::optional<std::string> ApplySettings(const IniFile& configuration, ErrorReport& report);

    SpeechService& Service() { return service_; }
    TerminalEvents& Events() { return events_; }

private:
    const RuntimeState& state_;
    TerminalSpeechEngines engines_;
    TerminalEvents events_;
    SpeechService service_;
};

} // namespace orbela
