// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The strings of the interface by name: the value of each is its index in
// every language's string table, so the order is the tables' and must not
// change.

#include "i18n/resource_localizer.h"

#include <string>

namespace orbela {

enum class InterfaceString {
    LanguageName,         // 0: the language's own name
    ProductName,
    ProgramMenu,
    StartItem,
    SettingsMenu,
    EnvironmentItem,
    ChangesApplied,       // after a change of language
    Ok,
    Cancel,
    LanguageGroup,
    EnvironmentCaption,   // 10: the language dialog's title
    VoiceCaption,         // the voice dialog's title
    Voices,
    Pitch,
    Speed,
    Volume,
    ChooseVoice,
    Close,
    VoiceNotAllowed,
    VoiceSelected,
    SoundsItem,           // 20
    SoundsCaption,        // the sounds dialog's title
    AllowVoice,
    EnterData,            // the data-entry dialog's title and the input prompt
    CharacterNamesStem,   // the stem of the character name file
    Ready,
    Screen,
    UseSapi5Item,
    SoundVolume,
    EmptyLine,
    EndOfScreen,          // 30
    Line,
    Column,
    ExitItem,
    HelpMenu,
    AboutItem,
    AboutCaption,         // the about box's title
    Version,
    VoiceItem,
    OrbelaSounds,
    NoVoices,             // 40
    ScreenFull,
    CannotFindFile,
    VoiceMissing,
    PleaseRetype,
    ExitProgram,
    BrailleKeyboardItem,  // 46
};

static_assert(static_cast<int>(InterfaceString::BrailleKeyboardItem) + 1 == LanguageStringCount,
              "one name for each string of the tables");

// The string `which` in `language` (Windows-1250); empty for an unknown language.
inline std::string LoadLanguageString(int language, InterfaceString which)
{
    return LoadLanguageString(language, static_cast<int>(which));
}

} // namespace orbela
