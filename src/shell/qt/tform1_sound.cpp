// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's sound steps of its start-up, its sound objects, and
// Settings/Sounds.

#include "shell/qt/tform1_sound.h"

#include <QAction>
#include <QTimer>

#include <exception>
#include <filesystem>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "runtime/error_report.h"
#include "runtime/runtime.h"
#include "shell/data_files.h"
#include "shell/qt/process_end.h"
#include "shell/qt/tform1.h"
#include "sound/qt/tform5.h"

namespace orbela {
namespace {

const std::filesystem::path SoundsFile = "sounds.dat";

} // namespace

void QtToneTimer::Start(std::int32_t intervalMilliseconds)
{
    timer_.start(intervalMilliseconds);
}

void QtToneTimer::Stop()
{
    timer_.stop();
}

TForm1Sound::TForm1Sound(Runtime& runtime, std::unique_ptr<AudioDevice> device, QTimer& timer)
    : runtime_(runtime), device_(std::move(device)), list_(device_.get(), runtime.GetClock()), toneSounds_(list_),
      timer_(timer)
{
    runtime_.SetToneSounds(&toneSounds_);
    runtime_.SetToneTimer(&timer_);
}

TForm1Sound::~TForm1Sound()
{
    runtime_.SetToneSounds(nullptr);
    runtime_.SetToneTimer(nullptr);
}

void TForm1::CreateSoundObjects()
{
    if (!soundDevice_)
        return;
    std::unique_ptr<AudioDevice> device;
    try {
        device = soundDevice_();
    } catch (const std::exception& error) {
        // Without audio output the program runs silently after saying why.
        report_.Report(error.what());
    }
    sound_ = std::make_unique<TForm1Sound>(runtime_, std::move(device), *Timer);
    LoadSounds();
}

void TForm1::LoadSounds()
{
    try {
        // The current directory first, then the installed data folder.
        const auto folders = DataFoldersFor(executable_);
        const auto found = FindDataFileIn(folders, SoundsFile);
        if (!found || !sound_->List().LoadFile(*found)) {
            ShowMessage(this,
                        LanguageText(runtime_.State().language, InterfaceString::CannotFindFile) + ' ' +
                            FromCp1250(SearchedPlaces(folders, SoundsFile)),
                        MessageKind::Error);
            processEnd_.EndAtOnce();
        }
    } catch (const std::exception& error) {
        report_.Report(error.what());
    }
}

void TForm1::FreeSounds()
{
    // Whatever fails while the sound objects go is of no use to anyone now.
    try {
        sound_.reset();
    } catch (...) {
    }
}

void TForm1::SetSoundDialog(TForm5* sound)
{
    soundDialog_ = sound;
    soundssubmenu->setEnabled(sound != nullptr);
    if (sound)
        sound->SetVoiceMenuItem(Voicesubmenu);
}

void TForm1::soundssubmenuClick()
{
    // The dialog's volume bar plays a tone at each step.
    FinishStartup();
    if (soundDialog_)
        soundDialog_->ShowSounds();
}

} // namespace orbela
