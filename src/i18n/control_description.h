// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program says, or shows, for a window or a control: its label,
// its role, its value and its state, with the words the program adds
// itself (roles, states) in the language the window shows. Kept apart from
// the toolkit so that speech and a braille display describe a control the
// same way. Texts are Windows-1250.

#include <optional>
#include <string>
#include <string_view>

namespace orbela {

// In the order of the word tables of control_description.cpp.
enum class ControlRole {
    None,         // a menu item, a static text: the label says it all
    Dialog,
    Menu,         // a menu of the bar, or an item that opens a submenu
    Button,
    CheckBox,
    RadioButton,
    Slider,
    List,
    EditField,
    Group,
};

struct ControlFacts {
    std::string label;  // without its access-key mark
    ControlRole role = ControlRole::None;
    std::string value;  // a slider's position, a list's item, a field's text
    std::string shortcut;
    std::optional<bool> checked;  // set for checkable controls only
    bool available = true;
};

// The program's notice that it speaks through the other engine.
enum class EngineNotice {
    SystemServiceSpeaks,  // the embedded voice cannot speak
    EmbeddedVoiceSpeaks,  // the system service cannot speak
};

// "&Voices" -> "Voices"; "&&" is a real ampersand and stays one.
std::string WithoutAccessKey(std::string_view caption);

// "Volume, slider, 40"; "Braille keyboard, Ctrl+B, not checked";
// "Start, Ctrl+S, unavailable". Parts that are empty are left out.
std::string DescribeControl(const ControlFacts& facts, int language);
// The same facts on a braille display, as the screen reader's braille shows
// them: the state's indicator first ("<x>"/"< >" for check boxes and
// checkable menu items, "&=y"/"& y" for radio buttons), then label, value
// and shortcut in parentheses: "<x> Braille keyboard (Ctrl+B)",
// "&=y English", "Volume 40". The role is left out: the indicator shows it
// where it matters, and cells are few.
std::string BrailleControl(const ControlFacts& facts, int language);
// The word for a check state alone ("checked"), said when it changes.
std::string CheckStateWord(bool checked, int language);
// "Language, group": said as the focus enters a group of controls.
std::string DescribeGroup(std::string_view label, int language);
// "Sounds settings, dialog": said as a window opens.
std::string DescribeWindow(std::string_view title, int language);
std::string EngineNoticeText(EngineNotice notice, int language);

} // namespace orbela
