// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the program writes to a braille display: kept as braille/display
// in the configuration file ("auto", the default, or "off"), changed by the
// menu, and overridden for one run by --braille-display.

#include <optional>
#include <string_view>

namespace orbela {

class IniFile;

enum class BrailleDisplaySetting { Auto, Off };

// Nullopt for any other word.
std::optional<BrailleDisplaySetting> ParseBrailleDisplaySetting(std::string_view word);
std::string_view BrailleDisplaySettingWord(BrailleDisplaySetting setting);

// A missing or unknown value reads as Auto.
BrailleDisplaySetting ReadBrailleDisplaySetting(const IniFile& file);
void WriteBrailleDisplaySetting(IniFile& file, BrailleDisplaySetting setting);

} // namespace orbela
