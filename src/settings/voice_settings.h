// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voice kept in the configuration file: whether the system speech
// service speaks instead of the embedded voice (Voice/SAPI5), whether voice
// is allowed at all (voice/voiceallowed), and the voice dialog's choice
// (Voice/person, pitch, speed, volume). Every reader and writer of these
// keys goes through here.

#include <string>

namespace orbela {

class IniFile;
class IniValues;

// The voice dialog's choice. An empty person means none was chosen: the
// engine's default voice with the engine's own pitch, speed and volume.
struct VoiceChoice {
    std::string person;  // Windows-1250, the voice's name as listed
    int pitch = 0;
    int speed = 0;
    int volume = 255;
};

VoiceChoice ReadVoiceChoice(const IniValues& values);
VoiceChoice ReadVoiceChoice(const IniFile& file);
// Writes person, pitch, speed and volume, in this order.
void WriteVoiceChoice(IniFile& file, const VoiceChoice& choice);

// Voice/SAPI5, default off.
bool ReadUsesSystemVoice(const IniValues& values);
void WriteUsesSystemVoice(IniFile& file, bool on);

// voice/voiceallowed, default on.
bool ReadVoiceAllowed(const IniValues& values);
bool ReadVoiceAllowed(const IniFile& file);
void WriteVoiceAllowed(IniFile& file, bool allowed);

} // namespace orbela
