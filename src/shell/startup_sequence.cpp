// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup_sequence.h"

#include "i18n/file_messages.h"
#include "text/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "shell/ram_image.h"

namespace orbela {

StartupSequence::StartupSequence(RuntimeState& state, IniFile& configuration, RamImageFile& image,
                                 ErrorReport& report, StartupFrontEnd& frontEnd)
    : state_(state), configuration_(configuration), image_(image), report_(report), frontEnd_(frontEnd)
{
}

void StartupSequence::Run()
{
    LoadCurrentLanguage();
    frontEnd_.SetCaption();
    frontEnd_.SetMenuCaptions();
    frontEnd_.EmptyScreen();
    SetStartFlags();
    frontEnd_.Reached("controls");
    frontEnd_.CreateSpeechObjects();
    frontEnd_.Reached("embedded-engine");
    frontEnd_.ShowEngineSwitch();
    LoadSettings();
    frontEnd_.SetEngineFlags();
    LoadMemoryImage();
    frontEnd_.Reached("settings");
    // The sound objects come in Finish: the first key needs none of them.
    frontEnd_.LoadBrailleTableFile();
    frontEnd_.LoadCharacterNames();
}

void StartupSequence::Finish()
{
    if (finished_)
        return;
    finished_ = true;
    frontEnd_.CreateSoundObjects();
    frontEnd_.Reached("sounds");
}

void StartupSequence::LoadCurrentLanguage()
{
    state_.language = ReadLanguage(configuration_);
    SetFileMessageLanguage(state_.language);
}

void StartupSequence::SetStartFlags()
{
    state_.startedonce = false;
    state_.voiceallowed = false;
    state_.orbelasounds = true;
    state_.sndvolume = 0;
    state_.braillekeys = false;
}

void StartupSequence::LoadSettings()
{
    MenuMarks marks;
    try {
        LoadConfiguration(configuration_, state_, frontEnd_.EmbeddedEngineExists(), marks);
    } catch (const Error& error) {
        report_.Report(error.what());
    }
    frontEnd_.ShowMenuMarks(marks);
}

void StartupSequence::LoadMemoryImage()
{
    state_.ramimage.fill(0);
    try {
        image_.Load(state_.ramimage);
    } catch (const Error& error) {
        report_.Report(error.what());
    }
}

} // namespace orbela
