// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the speech mode, in the three languages of the string
// tables (which keep their 47 strings as they are). Returned as Windows-1250.

#include <string>

namespace orbela {

enum class SpeechModeString {
    MenuCaption,       // the Settings submenu
    Auto,              // its three items
    Self,
    ScreenReader,
    AnnounceSelf,      // said when the mode changes
    AnnounceScreenReader,
    PromptContext,     // the field's description: before the last printed line
    ControlCount,
};

// The text in `language` (1000, 2000, 3000); English for any other.
std::string SpeechModeText(int language, SpeechModeString which);

} // namespace orbela
