// SPDX-License-Identifier: GPL-3.0-or-later
// The display's keys as BrlAPI reports them, and typed cells as chords.

#include <gtest/gtest.h>

#include <brlapi.h>

#include "braille/braille_keys.h"

namespace orbela {
namespace {

TEST(BrailleKeys, PanningLineAndRoutingCommandsAreDecoded)
{
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINLT), BrailleKey{BrailleCommand::PanLeft});
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINRT), BrailleKey{BrailleCommand::PanRight});
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNUP), BrailleKey{BrailleCommand::LineUp});
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNDN), BrailleKey{BrailleCommand::LineDown});
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 5),
              (BrailleKey{BrailleCommand::Route, 5}));
    // Flags in the upper half (a key held, say) do not change the command.
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_FLG(1) | BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNDN),
              BrailleKey{BrailleCommand::LineDown});
}

TEST(BrailleKeys, TypedCellsKeepTheirDots)
{
    const std::uint64_t dots145 = BRLAPI_DOT1 | BRLAPI_DOT4 | BRLAPI_DOT5;
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS | dots145),
              (BrailleKey{BrailleCommand::Dots, static_cast<int>(dots145)}));
    // The same cell as a braille pattern character (U+2819).
    EXPECT_EQ(DecodeBrailleKey(BRLAPI_KEY_TYPE_SYM | BRLAPI_KEY_SYM_UNICODE | (0x2800 + dots145)),
              (BrailleKey{BrailleCommand::Dots, static_cast<int>(dots145)}));
    EXPECT_EQ(ChordPatternOfDots(static_cast<int>(dots145)), "145");
    EXPECT_EQ(ChordPatternOfDots(0x3F), "123456");
    EXPECT_EQ(ChordPatternOfDots(0), " ") << "the space bar";
    EXPECT_EQ(ChordPatternOfDots(BRLAPI_DOT7 | BRLAPI_DOT1), "1") << "dots 7 and 8 are no chord dots";
}

TEST(BrailleKeys, OtherKeysAreLeftAlone)
{
    EXPECT_FALSE(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_HOME));
    EXPECT_FALSE(DecodeBrailleKey(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_CUTBEGIN | 3));
    EXPECT_FALSE(DecodeBrailleKey(BRLAPI_KEY_TYPE_SYM | 'f')) << "a character, not a command";
    EXPECT_FALSE(DecodeBrailleKey(BRLAPI_KEY_TYPE_SYM | BRLAPI_KEY_SYM_UNICODE | 0x2900)) << "past the patterns";
}

} // namespace
} // namespace orbela
