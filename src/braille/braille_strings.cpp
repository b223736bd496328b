// SPDX-License-Identifier: GPL-3.0-or-later
// The braille display's texts in the program's three languages, kept apart
// from the original string tables.

#include "braille/braille_setting.h"
#include "i18n/resource_localizer.h"

namespace orbela {

std::string_view BrailleDisplayCaption(int language)
{
    switch (language) {
    case LanguageEnglish: return "Braille &display";
    case LanguageSlovak: return "Braillovský ria&dok";
    default: return "Braillský řá&dek";
    }
}

} // namespace orbela
