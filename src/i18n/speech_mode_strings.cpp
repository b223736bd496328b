// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/speech_mode_strings.h"

#include <array>
#include <cstddef>

#include "i18n/resource_localizer.h"
#include "text/cp1250.h"

namespace orbela {
namespace {

constexpr std::size_t Count = static_cast<std::size_t>(SpeechModeString::ControlCount);
using Texts = std::array<const char*, Count>;

// Same order as the enumeration. Access keys are unique within the Settings
// menu and within the submenu in each language.
constexpr Texts Czech{
    "&Režim řeči",
    "&Automaticky",
    "&Vlastní hlas",
    "Č&tečka obrazovky",
    "Režim řeči: vlastní hlas",
    "Režim řeči: čtečka obrazovky",
    "Naposledy vypsáno:",
};
constexpr Texts English{
    "Speech &mode",
    "&Automatic",
    "&Self-voicing",
    "Screen &reader",
    "Speech mode: self-voicing",
    "Speech mode: screen reader",
    "Last printed:",
};
constexpr Texts Slovak{
    "&Režim reči",
    "&Automaticky",
    "&Vlastný hlas",
    "Čí&tačka obrazovky",
    "Režim reči: vlastný hlas",
    "Režim reči: čítačka obrazovky",
    "Naposledy vypísané:",
};

} // namespace

std::string SpeechModeText(int language, SpeechModeString which)
{
    const Texts& texts = language == LanguageCzech ? Czech : language == LanguageSlovak ? Slovak : English;
    return Utf8ToCp1250Lossy(texts[static_cast<std::size_t>(which)]);
}

} // namespace orbela
