// SPDX-License-Identifier: GPL-3.0-or-later
// The line layout: an 80-column line on a 40-cell display, panned by whole
// windows, with the caret's cursor cell and the routing keys' columns.

#include <gtest/gtest.h>

#include "braille/braille_line.h"

namespace orbela {
namespace {

constexpr int Cells = 40;

std::u32string Columns(int count)
{
    std::u32string text;
    for (int i = 0; i < count; ++i)
        text.push_back(static_cast<char32_t>(U'a' + i % 26));
    return text;
}

TEST(BrailleLine, EightyColumnsAreTwoWindowsOfFortyCells)
{
    BrailleLine line;
    const std::u32string row = Columns(80);
    line.SetLine(row, std::nullopt, false);
    EXPECT_EQ(line.Window(Cells).text, row.substr(0, 40));
    EXPECT_FALSE(line.PanLeft(Cells)) << "already at the start";
    ASSERT_TRUE(line.PanRight(Cells));
    EXPECT_EQ(line.Window(Cells).text, row.substr(40, 40));
    EXPECT_FALSE(line.PanRight(Cells)) << "the second window ends the line";
    EXPECT_EQ(line.Offset(), 40);
    ASSERT_TRUE(line.PanLeft(Cells));
    EXPECT_EQ(line.Offset(), 0);
    EXPECT_FALSE(line.Window(Cells).cursorCell) << "no caret, no cursor";
}

TEST(BrailleLine, ShortTextIsPaddedToTheCellsAndCannotPan)
{
    BrailleLine line;
    line.SetLine(U"look", std::nullopt, false);
    const BrailleWindow window = line.Window(Cells);
    ASSERT_EQ(window.text.size(), 40u);
    EXPECT_EQ(window.text.substr(0, 5), U"look ");
    EXPECT_FALSE(line.PanRight(Cells));
}

TEST(BrailleLine, CursorIsUnderTheCharacterRightOfTheCaret)
{
    BrailleLine line;
    line.SetLine(U"abcdefgh", 3, false);
    EXPECT_EQ(line.Window(Cells).cursorCell, 3);
    // After the last character the cursor stands on the blank cell there.
    line.SetLine(U"abcdefgh", 8, true);
    EXPECT_EQ(line.Window(Cells).cursorCell, 8);
    line.SetLine(U"", 0, false);
    EXPECT_EQ(line.Window(Cells).cursorCell, 0) << "an empty field shows its caret in the first cell";
}

TEST(BrailleLine, WindowFollowsTheCaretAcrossPanningBoundaries)
{
    BrailleLine line;
    const std::u32string text = Columns(60);
    line.SetLine(text, 10, false);
    EXPECT_EQ(line.Window(Cells).cursorCell, 10);
    line.SetLine(text, 45, true);
    BrailleWindow window = line.Window(Cells);
    EXPECT_EQ(line.Offset(), 40);
    EXPECT_EQ(window.cursorCell, 5);
    EXPECT_EQ(window.text.substr(0, 20), text.substr(40, 20));
    // The caret at the very end of a 40-character text is the 41st column:
    // the second window, first cell.
    const std::u32string forty = Columns(40);
    line.SetLine(forty, 40, false);
    window = line.Window(Cells);
    EXPECT_EQ(line.Offset(), 40);
    EXPECT_EQ(window.cursorCell, 0);
    ASSERT_TRUE(line.PanLeft(Cells));
    EXPECT_FALSE(line.Window(Cells).cursorCell) << "the caret's cell is out of the window";
}

TEST(BrailleLine, PanningStaysWhileTheCaretDoesNotMove)
{
    BrailleLine line;
    const std::u32string text = Columns(70);
    line.SetLine(text, 5, false);
    line.Window(Cells);
    ASSERT_TRUE(line.PanRight(Cells));
    // A refresh with the same caret keeps the panned window...
    line.SetLine(text, 5, true);
    EXPECT_EQ(line.Window(Cells).text.substr(0, 30), text.substr(40, 30));
    // ...and a moved caret brings the window back to it.
    line.SetLine(text, 6, true);
    EXPECT_EQ(line.Window(Cells).cursorCell, 6);
    EXPECT_EQ(line.Offset(), 0);
}

TEST(BrailleLine, RoutingKeysNameColumnsOfThePannedWindow)
{
    BrailleLine line;
    line.SetLine(Columns(80), 0, false);
    line.Window(Cells);
    EXPECT_EQ(line.ColumnOfCell(5, Cells), 5);
    ASSERT_TRUE(line.PanRight(Cells));
    EXPECT_EQ(line.ColumnOfCell(5, Cells), 45);
    EXPECT_EQ(line.ColumnOfCell(39, Cells), 79);
    EXPECT_FALSE(line.ColumnOfCell(40, Cells)) << "no such cell";
    EXPECT_FALSE(line.ColumnOfCell(-1, Cells));

    line.SetLine(U"abc", 0, false);
    EXPECT_EQ(line.ColumnOfCell(3, Cells), 3) << "just after the text: the caret's last place";
    EXPECT_FALSE(line.ColumnOfCell(4, Cells)) << "beyond it nothing";
}

TEST(BrailleLine, ShorterNewTextBringsThePannedWindowBack)
{
    BrailleLine line;
    line.SetLine(Columns(80), std::nullopt, false);
    line.Window(Cells);
    ASSERT_TRUE(line.PanRight(Cells));
    line.SetLine(Columns(10), std::nullopt, true);
    EXPECT_EQ(line.Offset(), 0);
    EXPECT_EQ(line.Window(Cells).text.substr(0, 10), Columns(10));
}

TEST(BrailleLine, CaretBeyondTheTextIsHeldAtItsEnd)
{
    BrailleLine line;
    line.SetLine(U"ab", 7, false);
    EXPECT_EQ(line.Caret(), 2);
    EXPECT_EQ(line.Window(Cells).cursorCell, 2);
}

} // namespace
} // namespace orbela
