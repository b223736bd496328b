// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/braille_keys.h"

#include <brlapi.h>

namespace orbela {

std::optional<BrailleKey> DecodeBrailleKey(std::uint64_t code)
{
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
