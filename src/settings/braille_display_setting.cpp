// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/braille_display_setting.h"

#include <string>

#include "settings/ini_file.h"

namespace orbela {
namespace {

constexpr std::string_view Section = "braille";
constexpr std::string_view Key = "display";

} // namespace

std::optional<BrailleDisplaySetting> ParseBrailleDisplaySetting(std::string_view word)
{
    if (word == "auto")
        return BrailleDisplaySetting::Auto;
    if (word == "off")
        return BrailleDisplaySetting::Off;
    return std::nullopt;
}

std::string_view BrailleDisplaySettingWord(BrailleDisplaySetting setting)
{
    return setting == BrailleDisplaySetting::Off ? "off" : "auto";
}

BrailleDisplaySetting ReadBrailleDisplaySetting(const IniFile& file)
{
    return ParseBrailleDisplaySetting(file.ReadString(Section, Key, "auto")).value_or(BrailleDisplaySetting::Auto);
}

void WriteBrailleDisplaySetting(IniFile& file, BrailleDisplaySetting setting)
{
    file.WriteString(Section, Key, BrailleDisplaySettingWord(setting));
}

} // namespace orbela
