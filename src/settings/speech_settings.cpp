// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/speech_settings.h"

#include "settings/ini_file.h"

namespace orbela {
namespace {

constexpr std::string_view Section = "speech";

} // namespace

SpeechSettings ReadSpeechSettings(const IniFile& file)
{
    const IniValues values = file.Load();
    SpeechSettings settings;
    settings.mode = values.ReadString(Section, "mode", settings.mode);
    settings.priority = values.ReadString(Section, "priority", settings.priority);
    return settings;
}

void WriteSpeechMode(IniFile& file, std::string_view mode)
{
    file.WriteString(Section, "mode", mode);
}

} // namespace orbela
