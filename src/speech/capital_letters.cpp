// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/capital_letters.h"

#include <cstdint>

namespace orbela {

namespace {

// Windows-1250 bytes of "áÁäÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔöÖŕŔřŘšŠťŤúÚůŮüÜýÝžŽ§".
constexpr std::string_view CasePairs =
    "\xE1\xC1\xE4\xC4\xE8\xC8\xEF\xCF\xE9\xC9\xEC\xCC\xED\xCD\xE5\xC5\xBE\xBC"
    "\xF2\xD2\xF3\xD3\xF4\xD4\xF6\xD6\xE0\xC0\xF8\xD8\x9A\x8A\x9D\x8D\xFA\xDA"
    "\xF9\xD9\xFC\xDC\xFD\xDD\x9E\x8E\xA7";

} // namespace

bool IsCapitalLetter(char c)
{
    if (c >= 'A' && c <= 'Z')
        return true;
    if (static_cast<std::uint8_t>(c) < 128)
        return false;
    const auto index = CasePairs.find(c);
    // Index 1, 3, 5, ... is an even position counted from 1.
    return index != std::string_view::npos && index % 2 == 1;
}

char LowerCp1250(char c)
{
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<char>(byte + 32);
    switch (byte) {
    case 0x8A: case 0x8C: case 0x8D: case 0x8E: case 0x8F:  // Š Ś Ť Ž Ź
        return static_cast<char>(byte + 0x10);
    case 0xA3: return '\xB3';  // Ł
    case 0xA5: return '\xB9';  // Ą
    case 0xAA: return '\xBA';  // Ş
    case 0xAF: return '\xBF';  // Ż
    case 0xBC: return '\xBE';  // Ľ
    default: break;
    }
    // Á to Ţ, leaving out the multiplication sign.
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)
        return static_cast<char>(byte + 0x20);
    return c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerCp1250(a[i]) != LowerCp1250(b[i]))
            return false;
    }
    return true;
}

} // namespace orbela
