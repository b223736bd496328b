// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The [speech] section of the configuration file: the chosen speech mode
// and the priority the system speech service is given. The words are kept
// as written; the speech library knows what they mean.

#include <string>
#include <string_view>

namespace orbela {

class IniFile;

struct SpeechSettings {
    std::string mode = "auto";         // speech/mode
    std::string priority = "message";  // speech/priority
};

SpeechSettings ReadSpeechSettings(const IniFile& file);
void WriteSpeechMode(IniFile& file, std::string_view mode);

} // namespace orbela
