// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_dialog.h"

#include <exception>
#include <utility>

#include "i18n/interface_strings.h"
#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "speech/speech_service.h"
#include "speech/voice_selection.h"

namespace orbela {

std::string MissingVoiceMessage(int language, const std::string& person)
{
    return LoadLanguageString(language, InterfaceString::VoiceMissing) + " " + person;
}

bool StoredVoiceApplies(const VoiceControl& control, const RuntimeState& state)
{
    return state.voiceallowed && control.Engine();
}

void ConnectSystemVoice(SpeechService& speech, const std::function<std::unique_ptr<SpeechEngine>()>& connect,
                        ErrorReport& report)
{
    try {
        speech.SetEngine(EngineSlot::System, connect());
    } catch (const std::exception& error) {
        report.Report(error.what());
    }
}

VoiceDialog::VoiceDialog(SpeechService& speech, IniFile& configuration, const RuntimeState& state,
                         VoiceDialogView& view, std::function<void()> endProcess)
    : speech_(speech), configuration_(configuration), state_(state), view_(view),
      endProcess_(std::move(endProcess)), control_(speech)
{
}

void VoiceDialog::FillVoiceList()
{
    // The list is emptied first, so filling it again lists each voice once.
    control_.Pick(std::nullopt);
    if (!control_.Engine()) {
        view_.ShowVoices({}, std::nullopt);
        return;
    }
    std::vector<std::string> names;
    for (const VoiceInfo& voice : control_.ListVoicesSoFar())
        names.push_back(voice.name);
    listedAll_ = control_.Complete();
    const auto first = DefaultVoiceIndex(control_.Cp1250Names());
    view_.ShowVoices(names, first);
    if (first)
        PickChanged();
}

void VoiceDialog::ListEveryVoice()
{
    if (listedAll_)
        return;
    std::vector<std::string> names;
    for (const VoiceInfo& voice : control_.ListVoices())
        names.push_back(voice.name);
    listedAll_ = true;
    // The voices listed before keep their rows.
    const int row = view_.CurrentRow();
    const auto current = row >= 0 && static_cast<std::size_t>(row) < names.size()
                             ? std::optional<std::size_t>(static_cast<std::size_t>(row))
                             : DefaultVoiceIndex(control_.Cp1250Names());
    view_.ShowVoices(names, current);
    if (!control_.Picked() && current)
        PickChanged();
}

void VoiceDialog::FillVoiceListIfAllowed()
{
    if (ReadVoiceAllowed(configuration_))
        FillVoiceList();
}

void VoiceDialog::PickChanged()
{
    SpeechEngine* engine = control_.Engine();
    if (!engine)
        return;
    if (view_.Active())
        engine->Reset();
    const std::size_t listed = control_.ListVoicesSoFar().size();
    const int row = view_.CurrentRow();
    // A row the engine no longer lists keeps the earlier pick.
    if (row >= 0 && static_cast<std::size_t>(row) < listed)
        control_.Pick(static_cast<std::size_t>(row));
}

void VoiceDialog::SelectVoice()
{
    const auto ranges = control_.SelectPicked();
    if (!ranges)
        return;
    speech_.VoiceSelected();
    view_.SetUpBars(*ranges);
}

void VoiceDialog::LoadVoiceSettings()
{
    if (!StoredVoiceApplies(control_, state_))
        return;
    const VoiceChoice choice = ReadVoiceChoice(configuration_);
    if (choice.person.empty())
        return;
    auto found = FindVoiceIndex(view_.ListedNames(), choice.person);
    if (!found && !listedAll_) {
        ListEveryVoice();
        found = FindVoiceIndex(view_.ListedNames(), choice.person);
    }
    if (!found) {
        view_.Tell(MissingVoiceMessage(state_.language, choice.person), VoiceDialogView::Over::Dialog);
        endProcess_();
        return;
    }
    view_.ShowCurrent(*found);
    PickChanged();
    SelectVoice();
    // A bar clamps the value to its range and runs its change handler only
    // when the position moves, which applies the value to the engine.
    view_.MoveBars(choice);
}

void VoiceDialog::SaveVoiceSettings()
{
    WriteVoiceChoice(configuration_, view_.Shown());
}

bool VoiceDialog::SwitchVoiceOn()
{
    FillVoiceList();
    if (!HasVoiceMode())
        return false;
    SelectVoice();
    SaveVoiceSettings();
    return true;
}

bool VoiceDialog::Open()
{
    if (!state_.voiceallowed) {
        view_.Tell(LoadLanguageString(state_.language, InterfaceString::VoiceNotAllowed),
                   VoiceDialogView::Over::Caller);
        return false;
    }
    ListEveryVoice();
    if (!speech_.Flags().engineready) {
        if (HasVoiceMode()) {
            SelectVoice();
            SaveVoiceSettings();
        } else {
            // Nothing to select: the dialog opens on the empty list.
            view_.Tell(LoadLanguageString(state_.language, InterfaceString::NoVoices), VoiceDialogView::Over::Caller);
        }
    }
    LoadVoiceSettings();
    return true;
}

// Beside a screen reader the dialog's controls are the reader's to say.
void VoiceDialog::Confirm()
{
    SaveVoiceSettings();
    LoadVoiceSettings();
    speech_.SpeakAndWait(Utterance::Confirmation, LoadLanguageString(state_.language, InterfaceString::VoiceSelected));
}

void VoiceDialog::Cancel(const std::string& mainCaption)
{
    speech_.SpeakAndWait(Utterance::Focus, mainCaption);
}

void VoiceDialog::BarMoved(const std::string& tag)
{
    SpeechEngine* engine = control_.Engine();
    if (!engine)
        return;
    engine->Reset();
    control_.Apply(tag);
}

} // namespace orbela
