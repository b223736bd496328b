// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/voice_settings.h"

#include "settings/ini_file.h"

namespace orbela {
namespace {

// Section names match without regard to case; the two spellings are the
// ones the file has always had.
constexpr std::string_view VoiceSection = "Voice";
constexpr std::string_view SwitchSection = "voice";

} // namespace

VoiceChoice ReadVoiceChoice(const IniValues& values)
{
    VoiceChoice choice;
    choice.person = values.ReadString(VoiceSection, "person", "");
    choice.pitch = values.ReadInteger(VoiceSection, "pitch", choice.pitch);
    choice.speed = values.ReadInteger(VoiceSection, "speed", choice.speed);
    choice.volume = values.ReadInteger(VoiceSection, "volume", choice.volume);
    return choice;
}

VoiceChoice ReadVoiceChoice(const IniFile& file)
{
    return ReadVoiceChoice(file.Load());
}

void WriteVoiceChoice(IniFile& file, const VoiceChoice& choice)
{
    file.WriteString(VoiceSection, "person", choice.person);
    file.WriteInteger(VoiceSection, "pitch", choice.pitch);
    file.WriteInteger(VoiceSection, "speed", choice.speed);
    file.WriteInteger(VoiceSection, "volume", choice.volume);
}

bool ReadUsesSystemVoice(const IniValues& values)
{
    return values.ReadBool(VoiceSection, "sapi5", false);
}

void WriteUsesSystemVoice(IniFile& file, bool on)
{
    file.WriteBool(VoiceSection, "SAPI5", on);
}

bool ReadVoiceAllowed(const IniValues& values)
{
    return values.ReadBool(SwitchSection, "voiceallowed", true);
}

bool ReadVoiceAllowed(const IniFile& file)
{
    return file.ReadBool(SwitchSection, "voiceallowed", true);
}

void WriteVoiceAllowed(IniFile& file, bool allowed)
{
    file.WriteBool(SwitchSection, "voiceallowed", allowed);
}

} // namespace orbela
