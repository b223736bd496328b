// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/braille_table.h"

namespace orbela {

std::string BrailleTable::TranslateChord(std::string_view pattern)
{
    // No chord key was held: a malformed entry with empty dots must not
    // turn an ordinary key into a character or a prefix.
    if (pattern.empty())
        return {};
    if (pattern == " ") {
        activeprefix.clear();
        return " ";
    }
    for (const brlpreftype& prefix : prefixtable()) {
        if (prefix.dots == pattern) {
            activeprefix = prefix.name;
            return {};
        }
    }
    for (const brlchartype& entry : braillechartable()) {
        if (entry.dots != pattern || entry.prefix != activeprefix)
            continue;
        if (activeprefix == CapitalPrefixName)
            activeprefix.clear();
        return entry.character;
    }
    return {};
}

std::string BrailleTableSurplus::Message() const
{
    std::string message = "Braille table: ignored";
    if (prefixes != 0)
        message += " " + std::to_string(prefixes) + " prefix entries beyond the " +
                   std::to_string(BrailleTable::PrefixSlots) + " slots";
    if (prefixes != 0 && characters != 0)
        message += " and";
    if (characters != 0)
        message += " " + std::to_string(characters) + " character entries beyond the " +
                   std::to_string(BrailleTable::CharacterSlots) + " slots";
    return message;
}

} // namespace orbela
