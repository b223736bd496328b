// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voice dialog's order of things without its window: filling the voice
// list, keeping the pick, selecting it, loading and saving the stored
// choice and what a stored voice the engine does not list comes to. The
// window shows what it is told through VoiceDialogView and hands each of
// its controls' events here.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/voice_settings.h"
#include "speech/speech_engine.h"
#include "speech/voice_control.h"

namespace orbela {

class ErrorReport;
class IniFile;
class SpeechService;
struct RuntimeState;

// What the voice dialog's window does for it.
class VoiceDialogView {
public:
    virtual ~VoiceDialogView() = default;

    // Lists `names` (UTF-8) and makes `current` the current row, without
    // running the list's change handler.
    virtual void ShowVoices(const std::vector<std::string>& names, std::optional<std::size_t> current) = 0;
    // Makes `row` the current one, without running the change handler.
    virtual void ShowCurrent(std::size_t row) = 0;
    // The current row, or -1 without one.
    virtual int CurrentRow() const = 0;
    // The listed names, Windows-1250.
    virtual std::vector<std::string> ListedNames() const = 0;
    // Whether the dialog is the active window.
    virtual bool Active() const = 0;
    // Gives the bars the engine's ranges and enables them.
    virtual void SetUpBars(const VoiceControl::Ranges& ranges) = 0;
    // Moves the bars to the choice's values, through their change handlers.
    virtual void MoveBars(const VoiceChoice& choice) = 0;
    // The current voice's name (Windows-1250, empty without one) and the
    // bars' values.
    virtual VoiceChoice Shown() const = 0;
    // A message box over the dialog, or over its caller before it opens.
    enum class Over { Dialog, Caller };
    virtual void Tell(const std::string& cp1250Text, Over over) = 0;
};

// "The voice ... is not installed" for `person` (Windows-1250).
std::string MissingVoiceMessage(int language, const std::string& person);
// Whether a stored choice is applied: voice is allowed and the embedded
// engine is there (without one, no audio device say, no voice can be
// missing and the program runs on silently).
bool StoredVoiceApplies(const VoiceControl& control, const RuntimeState& state);
// Puts the system speech service into its slot. A machine without it keeps
// the embedded engine: the failure is reported and the caller goes on.
void ConnectSystemVoice(SpeechService& speech, const std::function<std::unique_ptr<SpeechEngine>()>& connect,
                        ErrorReport& report);

class VoiceDialog {
public:
    // Everything must outlive this object. `endProcess` ends the process
    // at once (the stored voice is missing).
    VoiceDialog(SpeechService& speech, IniFile& configuration, const RuntimeState& state, VoiceDialogView& view,
                std::function<void()> endProcess);

    // Lists the embedded engine's voices and picks "Jakub" or item 0. Only
    // the voices the engine knows so far are listed: the rest are listed
    // when the dialog opens or a stored voice is looked for among them.
    void FillVoiceList();
    // The same, when the settings allow the voice.
    void FillVoiceListIfAllowed();
    bool HasVoiceMode() const { return control_.Picked().has_value(); }
    // Selects the picked voice in the embedded engine and sets the bars up.
    void SelectVoice();
    // Picks the stored voice and moves the bars to its values; a stored
    // voice that is not listed ends the process after a message.
    void LoadVoiceSettings();
    void SaveVoiceSettings();
    // Fills the list, selects and saves the picked voice. False when no
    // voice is there to pick.
    bool SwitchVoiceOn();

    // Before the dialog opens: false (after a message) when voice is not
    // allowed; otherwise a voice the engine has not got yet is selected and
    // the stored choice is loaded.
    bool Open();
    // The dialog closed with OK: saved, loaded again and confirmed aloud.
    void Confirm();
    // The dialog closed otherwise: `mainCaption` (Windows-1250) is said.
    void Cancel(const std::string& mainCaption);

    // The list's current row changed: it becomes the pick; while the
    // dialog is active the engine is reset first.
    void PickChanged();
    // A bar moved: its tag (see Inject) goes to the engine, reset first.
    void BarMoved(const std::string& tag);

private:
    // Lists every voice, waiting for the engine to know them all, and
    // keeps the current row.
    void ListEveryVoice();

    SpeechService& speech_;
    IniFile& configuration_;
    const RuntimeState& state_;
    VoiceDialogView& view_;
    std::function<void()> endProcess_;
    VoiceControl control_;
    bool listedAll_ = true;
};

} // namespace orbela
