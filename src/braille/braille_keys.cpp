// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/braille_keys.h"

#include <brlapi.h>

namespace orbela {

namespace {

// The Unicode block of braille patterns: dots 1-8 are bits 0-7 of the offset.
constexpr std::uint64_t BraillePatterns = 0x2800;

} // namespace

std::optional<BrailleKey> DecodeBrailleKey(std::uint64_t code)
{
    if ((code & BRLAPI_KEY_TYPE_MASK) == BRLAPI_KEY_TYPE_SYM) {
        // A typed cell, when the server's typing mode passes dots as
        // pattern characters.
        const std::uint64_t symbol = code & BRLAPI_KEY_CODE_MASK;
        const std::uint64_t character = symbol & ~static_cast<std::uint64_t>(BRLAPI_KEY_SYM_UNICODE);
        if ((symbol & BRLAPI_KEY_SYM_UNICODE) && character >= BraillePatterns && character <= BraillePatterns + 0xFF)
            return BrailleKey{BrailleCommand::Dots, static_cast<int>(character - BraillePatterns)};
        return std::nullopt;
    }
    if ((code & BRLAPI_KEY_TYPE_MASK) != BRLAPI_KEY_TYPE_CMD)
        return std::nullopt;
    const std::uint64_t block = code & BRLAPI_KEY_CMD_BLK_MASK;
    const int argument = static_cast<int>(code & BRLAPI_KEY_CMD_ARG_MASK);
    if (block == BRLAPI_KEY_CMD_ROUTE)
        return BrailleKey{BrailleCommand::Route, argument};
    if (block == BRLAPI_KEY_CMD_PASSDOTS)
        return BrailleKey{BrailleCommand::Dots, argument & 0xFF};
    if (block != 0)
        return std::nullopt;
    switch (static_cast<std::uint64_t>(argument)) {
    case BRLAPI_KEY_CMD_FWINLT: return BrailleKey{BrailleCommand::PanLeft};
    case BRLAPI_KEY_CMD_FWINRT: return BrailleKey{BrailleCommand::PanRight};
    case BRLAPI_KEY_CMD_LNUP: return BrailleKey{BrailleCommand::LineUp};
    case BRLAPI_KEY_CMD_LNDN: return BrailleKey{BrailleCommand::LineDown};
    default: return std::nullopt;
    }
}

std::string ChordPatternOfDots(int dots)
{
    std::string pattern;
    for (int dot = 0; dot < 6; ++dot) {
        if (dots & (1 << dot))
            pattern += static_cast<char>('1' + dot);
    }
    return pattern.empty() ? std::string(" ") : pattern;
}

} // namespace orbela
