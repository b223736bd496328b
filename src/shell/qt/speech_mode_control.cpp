// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/speech_mode_control.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>

#include <cstdio>

#include "i18n/speech_mode_strings.h"
#include "settings/speech_settings.h"
#include "shell/qt/interface_speech.h"
#include "shell/qt/speech_mode_menu.h"
#include "speech/qt/screen_reader_watch.h"
#include "speech/speech_service.h"

namespace orbela {

SpeechModeControl::SpeechModeControl(SpeechService& speech, IniFile& configuration, const int& language,
                                     std::optional<SpeechMode> commandLine, QObject* parent)
    : QObject(parent), speech_(speech), configuration_(configuration), language_(language)
{
    SpeechMode chosen = SpeechMode::Auto;
    if (commandLine) {
        chosen = *commandLine;
    } else {
        const std::string written = ReadSpeechSettings(configuration).mode;
        if (const auto parsed = ParseSpeechMode(written))
            chosen = *parsed;
        else
            std::fprintf(stderr, "orbela: unknown speech mode \"%s\" in the settings; using auto\n", written.c_str());
    }
    policy_.Choose(chosen);
    watch_ = new ScreenReaderWatch([this](bool running) { policy_.SetScreenReaderRunning(running); }, this);
    // Taken when the first utterance or menu needs it, by when the look has
    // usually ended beside the window being built; a change seen earlier is
    // a change from this first answer.
    policy_.AwaitScreenReader([watch = watch_] { return watch->FirstAnswer(); });
    // Only later changes are announced: the start is silent as before.
    policy_.OnModeChanged([this](SpeechMode effective) {
        Announce(effective);
        emit EffectiveModeChanged();
    });
    speech_.SetPolicy(&policy_);
    interface_ = new InterfaceSpeech(speech_, language_, this);
}

bool SpeechModeControl::ScreenReaderRunning() const
{
    return watch_->Running();
}

SpeechModeControl::~SpeechModeControl()
{
    speech_.SetPolicy(nullptr);
}

void SpeechModeControl::AttachMainWindow(QMainWindow& window, QMenu& settings)
{
    menu_ = new SpeechModeMenu(settings, policy_, configuration_, language_);
    interface_->WatchMenuBar(*window.menuBar());
}

void SpeechModeControl::Announce(SpeechMode effective)
{
    if (!speech_.Allows(Utterance::ModeAnnouncement))
        return;
    // The line being said goes on in the voice that began it; the change is
    // told once that line has ended, through the system service, where it
    // waits its turn behind what the screen reader has still queued; the
    // self-voicing lines after it wait for it.
    speech_.WhenQuiet([this, alive = QPointer<SpeechModeControl>(this), effective] {
        if (!alive || policy_.Effective() != effective || !speech_.Allows(Utterance::ModeAnnouncement))
            return;
        speech_.SpeakThroughSystemService(
            Utterance::ModeAnnouncement,
            SpeechModeText(language_, effective == SpeechMode::ScreenReader ? SpeechModeString::AnnounceScreenReader
                                                                            : SpeechModeString::AnnounceSelf));
    });
}

} // namespace orbela
