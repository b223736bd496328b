// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a newcomer hears and reads before the first command: the greeting
// said as the main window opens, and the list of keys behind Help / Keys
// (F1), which is also installed as a text file beside the README. Three
// languages, as the string tables; returned as Windows-1250.

#include <string>
#include <vector>

namespace orbela {

enum class GuidanceString {
    Welcome,       // the program's name and how to begin
    KeysCaption,   // the Help menu item
    KeysTitle,     // the window listing the keys
    ControlCount,
};

// The text in `language` (1000, 2000, 3000); English for any other.
std::string GuidanceText(int language, GuidanceString which);

struct KeyHelpSection {
    std::string title;               // Windows-1250
    std::vector<std::string> lines;  // one key or group of keys each
};

// The keys of the main window, the data-entry dialog, the screen review and
// the braille keyboard, in `language`.
std::vector<KeyHelpSection> KeyHelp(int language);

// The same as plain text: the title, then each section's title and its
// lines, a blank line between sections (Windows-1250, "\n" line ends).
std::string KeyHelpText(int language);

} // namespace orbela
