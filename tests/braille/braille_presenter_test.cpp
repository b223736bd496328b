// SPDX-License-Identifier: GPL-3.0-or-later
// The presenter between a window's line and a fake 40-cell display: what is
// written, when, and where the display's keys go.

#include <gtest/gtest.h>

#include <vector>

#include "braille/braille_display.h"
#include "braille/braille_presenter.h"
#include "braille/braille_view.h"
#include "braille/screen_row_view.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/tscrcursor.h"

namespace orbela {
namespace {

struct Written {
    std::string text;
    std::optional<int> cursor;
};

class FakeDisplay final : public BrailleDisplay {
public:
    int cells = 40;
    bool accepts = true;
    std::uint64_t taking = 0;
    std::vector<Written> writes;

    int Cells() override { return cells; }
    std::uint64_t Taking() const override { return taking; }
    bool Write(const std::string& text, std::optional<int> cursor) override
    {
        if (!accepts)
            return false;
        writes.push_back({text, cursor});
        return true;
    }
};

class FieldView final : public BrailleView {
public:
    std::string text;
    std::optional<int> caret;
    std::vector<std::string> chords;
    int lines = 0;

    std::string Line() const override { return text; }
    std::optional<int> Caret() const override { return caret; }
    void RouteTo(int column) override { caret = column; }
    void MoveLine(int delta) override { lines += delta; }
    void TypeChord(const std::string& pattern) override { chords.push_back(pattern); }
};

std::string Padded(std::string text)
{
    text.resize(40, ' ');
    return text;
}

TEST(BraillePresenter, WritesTheViewsLineOnceAndAgainOnlyWhenItChanges)
{
    FakeDisplay display;
    FieldView view;
    view.text = "abc";
    view.caret = 3;
    BraillePresenter presenter(display);
    presenter.SetView(&view);
    ASSERT_EQ(display.writes.size(), 1u);
    EXPECT_EQ(display.writes[0].text, Padded("abc"));
    EXPECT_EQ(display.writes[0].cursor, 3);
    presenter.Refresh();
    EXPECT_EQ(display.writes.size(), 1u) << "unchanged cells are not written again";
    view.caret = 1;
    presenter.Refresh();
    ASSERT_EQ(display.writes.size(), 2u);
    EXPECT_EQ(display.writes[1].cursor, 1);
    presenter.Invalidate();
    presenter.Refresh();
    EXPECT_EQ(display.writes.size(), 3u) << "a new connection gets everything again";
    ++display.taking;
    presenter.Refresh();
    ASSERT_EQ(display.writes.size(), 4u) << "a display taken for another window starts blank";
    EXPECT_EQ(display.writes[3].text, Padded("abc"));
}

TEST(BraillePresenter, TextIsSentAsUtf8OneCharacterPerCell)
{
    FakeDisplay display;
    FieldView view;
    view.text = "\xF8\xED\x9A";  // "říš" in Windows-1250
    BraillePresenter presenter(display);
    presenter.SetView(&view);
    ASSERT_EQ(display.writes.size(), 1u);
    EXPECT_EQ(display.writes[0].text.substr(0, 6), "říš");
    EXPECT_EQ(display.writes[0].text.size(), 6u + 37u) << "three two-byte characters and 37 blanks";
}

TEST(BraillePresenter, NoDisplayYetMeansEverythingIsWrittenWhenOneAppears)
{
    FakeDisplay display;
    display.cells = 0;
    FieldView view;
    view.text = "hello";
    BraillePresenter presenter(display);
    presenter.SetView(&view);
    EXPECT_TRUE(display.writes.empty());
    EXPECT_FALSE(presenter.Written());
    display.cells = 40;
    presenter.Refresh();
    ASSERT_EQ(display.writes.size(), 1u);
    display.accepts = false;
    view.text = "hello there";
    presenter.Refresh();
    EXPECT_FALSE(presenter.Written()) << "a failed write is not taken as shown";
    display.accepts = true;
    presenter.Refresh();
    EXPECT_EQ(display.writes.back().text, Padded("hello there"));
}

TEST(BraillePresenter, RoutingPanningLineKeysAndDotsReachTheirPlaces)
{
    FakeDisplay display;
    FieldView view;
    view.text = std::string(50, 'x');
    view.caret = 0;
    BraillePresenter presenter(display);
    presenter.SetView(&view);
    presenter.HandleKey({BrailleCommand::Route, 5});
    EXPECT_EQ(view.caret, 5);
    EXPECT_EQ(display.writes.back().cursor, 5);
    presenter.HandleKey({BrailleCommand::PanRight});
    EXPECT_EQ(display.writes.back().text, Padded(std::string(10, 'x')));
    EXPECT_FALSE(display.writes.back().cursor);
    presenter.HandleKey({BrailleCommand::Route, 2});
    EXPECT_EQ(view.caret, 42) << "the panned window's cell 2 is column 42";
    presenter.HandleKey({BrailleCommand::Route, 30});
    EXPECT_EQ(view.caret, 42) << "past the text and its caret place: nothing";
    presenter.HandleKey({BrailleCommand::LineDown});
    presenter.HandleKey({BrailleCommand::LineUp});
    presenter.HandleKey({BrailleCommand::LineUp});
    EXPECT_EQ(view.lines, -1);
    presenter.HandleKey({BrailleCommand::Dots, 0b011001});  // dots 1 4 5
    ASSERT_EQ(view.chords.size(), 1u);
    EXPECT_EQ(view.chords[0], "145");
}

// The main window's screen on the fake display.
class ScreenOnDisplay : public ::testing::Test {
protected:
    ScreenOnDisplay() { presenter.SetView(&view); }

    Screen screen;
    FakeDisplay display;
    BraillePresenter presenter{display};
    ScreenRowView view{screen, [this] { presenter.Refresh(); }};
};

TEST_F(ScreenOnDisplay, MainWindowShowsTheRowPrintedLastAndWalksTheRows)
{
    screen.SetRow(0, "first line");
    screen.SetRow(1, "second line");
    tscrcursor cursor;
    // "second line" printed with a new line: the cursor is on row 2.
    cursor.sety(2);
    view.Printed("second line", static_cast<std::uint8_t>(LineEnd::NewLine), 11, cursor);
    EXPECT_EQ(display.writes.back().text, Padded("second line"));
    presenter.HandleKey({BrailleCommand::LineUp});
    EXPECT_EQ(display.writes.back().text, Padded("first line"));
    presenter.HandleKey({BrailleCommand::LineUp});
    EXPECT_EQ(view.Row(), 0) << "the first row is the top";
    for (int i = 0; i < 30; ++i)
        presenter.HandleKey({BrailleCommand::LineDown});
    EXPECT_EQ(view.Row(), Screen::Rows - 1);
}

TEST_F(ScreenOnDisplay, APrintOverSeveralRowsIsShownFromItsStartAndPannedToItsEnd)
{
    std::string print;
    for (int i = 0; print.size() < 100; ++i)
        print += "word" + std::to_string(i) + " ";
    print.resize(100);
    // Printed from column 0 of row 1: 80 columns there, 20 on row 2, and the
    // new line leaves the cursor on row 3.
    tscrcursor cursor;
    cursor.sety(3);
    view.Printed(print, static_cast<std::uint8_t>(LineEnd::NewLine), 20, cursor);
    EXPECT_EQ(display.writes.back().text, print.substr(0, 40)) << "from the print's start";
    presenter.HandleKey({BrailleCommand::PanRight});
    EXPECT_EQ(display.writes.back().text, print.substr(40, 40));
    presenter.HandleKey({BrailleCommand::PanRight});
    EXPECT_EQ(display.writes.back().text, Padded(print.substr(80)));
    int edges = 0;
    presenter.SetEdgeSignal([&edges] { ++edges; });
    presenter.HandleKey({BrailleCommand::PanRight});
    EXPECT_EQ(edges, 1) << "past the end";
    EXPECT_EQ(display.writes.back().text, Padded(print.substr(80))) << "the end stays shown";
    presenter.HandleKey({BrailleCommand::PanLeft});
    presenter.HandleKey({BrailleCommand::PanLeft});
    EXPECT_EQ(display.writes.back().text, print.substr(0, 40)) << "and back to its start";
    presenter.HandleKey({BrailleCommand::PanLeft});
    EXPECT_EQ(edges, 2) << "before the start";
    screen.SetRow(0, "above" + std::string(75, ' '));
    presenter.HandleKey({BrailleCommand::LineUp});
    EXPECT_EQ(display.writes.back().text, Padded("above")) << "the row above the whole print";
    presenter.HandleKey({BrailleCommand::PanRight});
    EXPECT_EQ(edges, 3) << "a row's filling blanks are no window to pan to";
    EXPECT_EQ(display.writes.back().text, Padded("above"));
}

TEST(BraillePresenter, RowOfPrintedTextFollowsTheLineEndMode)
{
    tscrcursor cursor;
    cursor.sety(5);
    cursor.setx(12);
    EXPECT_EQ(RowOfPrintedText(static_cast<std::uint8_t>(LineEnd::Stay), 12, cursor), 5);
    cursor.setx(0);
    EXPECT_EQ(RowOfPrintedText(static_cast<std::uint8_t>(LineEnd::NewLine), 12, cursor), 4);
    EXPECT_EQ(RowOfPrintedText(static_cast<std::uint8_t>(LineEnd::NextTab), 75, cursor), 4)
        << "a tab from column 73 on starts a new row";
    cursor.setx(16);
    EXPECT_EQ(RowOfPrintedText(static_cast<std::uint8_t>(LineEnd::NextTab), 12, cursor), 5);
    // At the bottom the screen scrolled: the text moved up with it.
    cursor.sety(23);
    cursor.setx(0);
    EXPECT_EQ(RowOfPrintedText(static_cast<std::uint8_t>(LineEnd::NewLine), 3, cursor), 22);
}

} // namespace
} // namespace orbela
