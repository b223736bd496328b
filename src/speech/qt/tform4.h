// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voice settings dialog: picks the embedded engine's voice and sets its
// pitch, speed and volume. The interface's voice says its controls as they
// get the focus and their values as they change. It also serves the main
// window and the sound dialog (filling the voice list, selecting the picked
// voice, loading and saving the voice record) and connects the system
// speech service when it is created. The order of all this is
// VoiceDialog's; the window shows what it is told.

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "speech/speech_engine.h"
#include "speech/voice_control.h"
#include "speech/voice_dialog.h"
#include "speech/voice_selection.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace orbela {

class ErrorReport;
class IniFile;
class SpeechService;
struct RuntimeState;

class TForm4 final : public QDialog, private VoiceDialogView {
    Q_OBJECT

public:
    struct Services {
        SpeechService* speech = nullptr;
        IniFile* configuration = nullptr;
        RuntimeState* state = nullptr;
        ErrorReport* report = nullptr;
        // Connects the system speech service; raises Error when it cannot
        // be reached. None leaves the system slot empty.
        std::function<std::unique_ptr<SpeechEngine>()> connectSystemVoice;
        // Ends the process at once (the configured voice is missing).
        std::function<void()> endProcess;
        // Leaves the list to FillVoiceListIfAllowed, for a caller that
        // shows its window first: filling it waits until the embedded
        // engine has tried every voice's data.
        bool fillVoiceListLater = false;
    };

    // Everything in `services` must be set and outlive the dialog.
    explicit TForm4(Services services, QWidget* parent = nullptr);

    // Lists the embedded engine's voices and picks "Jakub" or item 0. The
    // list is emptied first, so filling it again lists each voice once.
    void FillVoiceList() { model_.FillVoiceList(); }
    // The same, when the settings allow the voice.
    void FillVoiceListIfAllowed() { model_.FillVoiceListIfAllowed(); }
    // Whether a voice has been picked, which a selection needs.
    bool HasVoiceMode() const { return model_.HasVoiceMode(); }
    // Selects the picked voice in the embedded engine and takes the bars'
    // ranges from it.
    void SelectVoice() { model_.SelectVoice(); }
    // Picks the configured voice and applies the configured pitch, speed
    // and volume; a configured voice that is not in the list ends the
    // process after a message.
    void LoadVoiceSettings() { model_.LoadVoiceSettings(); }
    void SaveVoiceSettings() { model_.SaveVoiceSettings(); }
    // The sound dialog's switching voice on: fills the list, selects and
    // saves the picked voice. False when no voice is there to pick.
    bool SwitchVoiceOn() { return model_.SwitchVoiceOn(); }

    // Settings/Voice. `mainCaption` (Windows-1250) is spoken on Cancel.
    void ShowVoiceSettings(const std::string& mainCaption);

    QListWidget* voicelist = nullptr;
    QLabel* voicestatic = nullptr;
    QSlider* pitchtb = nullptr;
    QLabel* pitchstatic = nullptr;
    QSlider* speedtb = nullptr;
    QLabel* speedstatic = nullptr;
    QSlider* volumetb = nullptr;
    QLabel* volumestatic = nullptr;
    QPushButton* vyberhlasbitbtn = nullptr;
    QPushButton* closebitbtn = nullptr;

    // The handlers, one per control event.
    void voicelistClick();
    void speedtbChange();
    void pitchtbChange();
    void volumetbChange();

private:
    void CreateControls();
    void FormCreate();
    void SetCaptions();
    static void SetUpBar(QSlider& bar, const std::optional<TrackBarSetup>& setup);

    // VoiceDialogView
    void ShowVoices(const std::vector<std::string>& names, std::optional<std::size_t> current) override;
    void ShowCurrent(std::size_t row) override;
    int CurrentRow() const override;
    std::vector<std::string> ListedNames() const override;
    bool Active() const override;
    void SetUpBars(const VoiceControl::Ranges& ranges) override;
    void MoveBars(const VoiceChoice& choice) override;
    VoiceChoice Shown() const override;
    void Tell(const std::string& cp1250Text, Over over) override;

    Services services_;
    VoiceDialog model_;
};

} // namespace orbela
