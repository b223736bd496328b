// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's speech: the embedded engine at start, the engine
// switch, the voice dialog's menu item and the voice prepared before a run.

#include <QAction>

#include "i18n/qt/qt_text.h"
#include "text/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime.h"
#include "shell/data_files.h"
#include "settings/voice_settings.h"
#include "shell/qt/tform1.h"
#include "speech/character_names.h"
#include "speech/qt/tform4.h"
#include "speech/speech_service.h"

namespace orbela {

void TForm1::CreateSpeechObjects()
{
    if (!speech_)
        return;
    speech_->SetUseSapi5(false);
    if (!embeddedEngine_)
        return;
    // Without the engine the program runs on, silent.
    try {
        speech_->SetEngine(EngineSlot::Embedded, embeddedEngine_());
    } catch (const Error&) {
        speech_->SetEngine(EngineSlot::Embedded, nullptr);
    }
}

bool TForm1::EmbeddedEngineExists() const
{
    // Built in, whether or not it could open the sound device this time: a
    // first start without a sound card must not switch voice off for good.
    return speech_ && (embeddedEngine_ || speech_->Engine(EngineSlot::Embedded));
}

void TForm1::SetEngineFlags()
{
    const bool sapi5 = usesapi5submenu->isChecked();
    if (speech_)
        speech_->SetUseSapi5(sapi5);
    Voicesubmenu->setEnabled(runtime_.State().voiceallowed && !sapi5);
}

void TForm1::LoadCharacterNames()
{
    if (!speech_)
        return;
    // The table holds the file's entries and nothing else.
    speech_->CharacterNames().Clear();
    try {
        const std::string name = CharacterNameFileName(runtime_.State().language);
        speech_->CharacterNames().Load(RequireDataFile(DataFoldersFor(executable_), name));
    } catch (const Error& error) {
        report_.Report(error.what());
    }
}

void TForm1::PrepareVoice()
{
    if (!voice_ || !speech_ || usesapi5submenu->isChecked())
        return;
    const bool allowed = runtime_.State().voiceallowed;
    if (allowed)
        voice_->LoadVoiceSettings();
    // A selection needs a picked voice; with none the embedded engine
    // stays silent.
    if (!speech_->Flags().engineready && allowed && voice_->HasVoiceMode()) {
        voice_->SelectVoice();
        voice_->SaveVoiceSettings();
        voice_->LoadVoiceSettings();
    }
}

// The menu has already moved the check mark when this runs.
void TForm1::usesapi5submenuClick()
{
    const bool on = usesapi5submenu->isChecked();
    if (speech_)
        speech_->SetUseSapi5(on);
    // The voice dialog serves the embedded engine only.
    Voicesubmenu->setEnabled(!on);
    WriteUsesSystemVoice(configuration_, on);
    // Rising when the system service takes over, falling when it hands back.
    SwitchTones(on ? 400.0 : 600.0, on ? 600.0 : 400.0);
}

void TForm1::VoicesubmenuClick()
{
    if (voice_)
        voice_->ShowVoiceSettings(ToCp1250(windowTitle()));
}

} // namespace orbela
