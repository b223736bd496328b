// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/braille_text.h"

#include "text/cp1250.h"

namespace orbela {

std::u32string CodePointsOfCp1250(std::string_view cp1250)
{
    // Every byte converts to one character, so the UTF-8 form decodes to
    // exactly one code point per byte.
    const std::string utf8 = Cp1250ToUtf8(cp1250);
    std::u32string text;
    text.reserve(cp1250.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        text.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return text;
}

std::string Utf8OfCodePoints(std::u32string_view text)
{
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char32_t point : text) {
        if (point < 0x80) {
            utf8.push_back(static_cast<char>(point));
        } else if (point < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (point >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else if (point < 0x10000) {
            utf8.push_back(static_cast<char>(0xE0 | (point >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xF0 | (point >> 18)));
            utf8.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        }
    }
    return utf8;
}

} // namespace orbela
