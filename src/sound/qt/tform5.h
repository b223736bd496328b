// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound dialog: switches the voice and the Orbela sounds on or off and
// sets the sound volume, which changes live while the bar moves (with a
// preview tone at each step) and is put back by Cancel.

#include <QDialog>

#include <cstdint>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace orbela {

class IniFile;
class Runtime;

class TForm5 final : public QDialog {
    Q_OBJECT

public:
    // What OK asks of the speech service, given as answers so that the
    // sound dialog does not depend on the speech library.
    struct VoiceFacts {
        std::function<bool()> embeddedEngineExists;
        std::function<bool()> systemVoiceInUse;
    };

    // Everything given must outlive the dialog; both facts must be set.
    TForm5(Runtime& runtime, IniFile& configuration, VoiceFacts voice, QWidget* parent = nullptr);

    // Switching the voice on when it was off: fills the voice list, selects
    // and saves the picked voice; false when there was none to pick. Without
    // it the embedded engine's presence alone decides.
    void SetSwitchVoiceOn(std::function<bool()> switchVoiceOn) { switchVoiceOn_ = std::move(switchVoiceOn); }
    // The main menu's Voice item, enabled after OK exactly when it can be
    // used. Null leaves the menu alone.
    void SetVoiceMenuItem(QAction* item) { voiceMenuItem_ = item; }

    // Settings/Sounds: shows the dialog modally and applies and writes the
    // settings on OK. Raises Error when they cannot be written.
    void ShowSounds();

    // Bar position 0..100 and the sound volume in hundredths of a decibel.
    static int PositionForVolume(std::int32_t sndvolume);
    static std::int32_t VolumeForPosition(int position);

    QCheckBox* voicecheckbox = nullptr;
    QCheckBox* orbelasoundschk = nullptr;
    QSlider* sndvoltrackbar = nullptr;
    QPushButton* okbitbtn = nullptr;
    QPushButton* cancelbitbtn = nullptr;
    QLabel* sndvolstatic = nullptr;

private:
    void FormCreate();
    void sndvoltrackbarChange();
    void orbelasoundschkClick();
    // The voice switch of OK.
    void ApplyVoice();

    Runtime& runtime_;
    IniFile& configuration_;
    VoiceFacts voice_;
    std::function<bool()> switchVoiceOn_;
    QAction* voiceMenuItem_ = nullptr;
};

} // namespace orbela
