// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/print_listener.h"
#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

// Every character tells its position, so that a cut in the wrong place shows.
std::string Numbered(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

std::string Padded(std::string text)
{
    text.resize(80, ' ');
    return text;
}

using ScreenWriterTest = RuntimeTest;

TEST_F(ScreenWriterTest, LongTextIsCutHardAtColumn80)
{
    PlaceCursor(0, 3);
    const std::string text = Numbered(233);
    runtime.Print(text, LineEnd::NewLine);
    EXPECT_EQ(ScreenRow(3), text.substr(0, 80));
    EXPECT_EQ(ScreenRow(4), text.substr(80, 80));
    EXPECT_EQ(ScreenRow(5), Padded(text.substr(160)));
    EXPECT_TRUE(ScreenRow(6).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 6);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{text});

    PlaceCursor(75, 10);
    runtime.Print("0123456789", LineEnd::Stay);
    EXPECT_EQ(ScreenRow(10), std::string(75, ' ') + "01234");
    EXPECT_EQ(ScreenRow(11), Padded("56789"));
    EXPECT_EQ(Column(), 5);
    EXPECT_EQ(Row(), 11);
}

TEST_F(ScreenWriterTest, WritingPadsTheRowAndOverwritesOnlyFromTheCursor)
{
    runtime.Print("hello world", LineEnd::NewLine);
    PlaceCursor(6, 0);
    runtime.Print("there", LineEnd::Stay);
    EXPECT_EQ(ScreenRow(0), Padded("hello there"));
    EXPECT_EQ(Column(), 11);

    // An empty text adds only the blanks, and speaks nothing.
    speech.spoken.clear();
    PlaceCursor(7, 2);
    runtime.Print("", LineEnd::NewLine);
    EXPECT_EQ(ScreenRow(2), std::string(80, ' '));
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 3);
    EXPECT_TRUE(ScreenRow(3).empty());
    EXPECT_TRUE(speech.spoken.empty());
}

TEST_F(ScreenWriterTest, FullRowLeavesColumn80AndTheNextOutputStartsBelow)
{
    const std::string text = Numbered(160);
    runtime.Print(text, LineEnd::Stay);
    EXPECT_EQ(ScreenRow(1), text.substr(80));
    EXPECT_TRUE(ScreenRow(2).empty());
    EXPECT_EQ(Column(), 80);
    EXPECT_EQ(Row(), 1);

    runtime.Print("next", LineEnd::Stay);
    EXPECT_EQ(ScreenRow(1), text.substr(80));
    EXPECT_EQ(ScreenRow(2), Padded("next"));
    EXPECT_EQ(Column(), 4);
    EXPECT_EQ(Row(), 2);
}

TEST_F(ScreenWriterTest, LineEndModesMoveTheCursorAfterTheText)
{
    struct Case {
        int textEnd;
        std::uint8_t mode;
        int column;
        int rowAdvance;
    };
    const Case cases[] = {
        {0, 2, 0, 0}, {1, 2, 2, 0}, {2, 2, 8, 0}, {7, 2, 8, 0}, {8, 2, 8, 0}, {9, 2, 10, 0},
        {10, 2, 16, 0}, {72, 2, 72, 0}, {73, 2, 0, 1}, {80, 2, 0, 1}, {5, 9, 5, 0}, {80, 1, 80, 0},
    };
    for (const Case& c : cases) {
        PlaceCursor(0, 4);
        runtime.Print(std::string(static_cast<std::size_t>(c.textEnd), 'x'), c.mode);
        EXPECT_EQ(Column(), c.column) << "mode " << int(c.mode) << " after column " << c.textEnd;
        EXPECT_EQ(Row(), 4 + c.rowAdvance) << "mode " << int(c.mode) << " after column " << c.textEnd;
        EXPECT_EQ(runtime.State().printmode, c.mode);
    }
}

TEST_F(ScreenWriterTest, ScrollingKeepsTheLatest24Rows)
{
    for (int i = 0; i < 30; ++i)
        runtime.Print("row " + std::to_string(i), LineEnd::NewLine);
    for (int row = 0; row < 23; ++row)
        EXPECT_EQ(ScreenRow(row), Padded("row " + std::to_string(row + 7)));
    EXPECT_TRUE(ScreenRow(23).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 23);

    // A wrap on the last row scrolls in the middle of the text.
    PlaceCursor(70, 23);
    runtime.Print("0123456789abcdef", LineEnd::Stay);
    EXPECT_EQ(ScreenRow(22), std::string(70, ' ') + "0123456789");
    EXPECT_EQ(ScreenRow(23), Padded("abcdef"));
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, CursorBeyondTheScreenIsTakenAsItsEdge)
{
    PlaceCursor(200, 40);
    runtime.Print("abc", LineEnd::Stay);
    // Column 80 of row 23: the row counts as full, the text starts below.
    EXPECT_EQ(ScreenRow(23), Padded("abc"));
    EXPECT_EQ(Column(), 3);
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, PrintingAScreenRowItselfIsSafe)
{
    runtime.Print("first", LineEnd::NewLine);
    PlaceCursor(0, 23);
    // Row 0 scrolls away while its text is still being printed and spoken.
    runtime.Print(ScreenRow(0), LineEnd::NewLine);
    EXPECT_EQ(ScreenRow(22), Padded("first"));
    EXPECT_EQ(speech.spoken.back(), Padded("first"));
}

// Notes what the listener and the screen showed as each text was spoken.
class OrderWatcher final : public PrintListener, public SpeechOutput {
public:
    explicit OrderWatcher(const Screen& screen) : screen_(screen) {}
    void Printed(std::string_view text, std::uint8_t, int textEnd, const tscrcursor& cursor) override
    {
        events.push_back("printed " + std::string(text) + " ending at " + std::to_string(textEnd) + ", cursor "
            + std::to_string(cursor.getx()) + "/" + std::to_string(cursor.gety()));
    }
    void SpeakAndWait(std::string_view text) override
    {
        const bool shown = screen_.Text().find(text) != std::string::npos;
        events.push_back("spoke " + std::string(text) + (shown ? ", shown" : ", not shown"));
    }
    std::vector<std::string> events;

private:
    const Screen& screen_;
};

TEST_F(ScreenWriterTest, ListenerHearsOfTheTextAfterTheScreenAndBeforeTheSpeech)
{
    OrderWatcher watcher(screen);
    runtime.SetSpeech(watcher);
    runtime.SetPrintListener(&watcher);
    PlaceCursor(70, 0);
    runtime.Print("abcd", LineEnd::NextTab);
    runtime.SetPrintListener(nullptr);
    runtime.Print("unheard", LineEnd::NewLine);
    EXPECT_EQ(watcher.events, (std::vector<std::string>{"printed abcd ending at 74, cursor 0/1",
                                  "spoke abcd, shown", "spoke unheard, shown"}));
    EXPECT_TRUE(speech.spoken.empty());
}

using PrintSpeechTest = RuntimeTest;

TEST_F(PrintSpeechTest, LeadingPauseMarksBecomeWaitsUpToTheFirstOtherCharacter)
{
    struct Case {
        std::string printed;
        std::vector<std::string> spoken;
        int waitedMs;
    };
    const std::vector<Case> cases = {
        {". , word", {" , word"}, 300}, {"?!", {"!"}, 300}, {"...", {}, 900},
        {"  hello", {"  hello"}, 0}, {"  ;,x", {"x"}, 600}, {"\t.\r", {"\r"}, 300},
        {"a. b", {"a. b"}, 0}, {",;.?", {}, 1200}, {"   ", {"   "}, 0}, {"", {}, 0},
    };
    for (const Case& c : cases) {
        speech.spoken.clear();
        const auto before = clock.Now();
        runtime.Print(c.printed, LineEnd::Stay);
        EXPECT_EQ(speech.spoken, c.spoken) << "printed \"" << c.printed << "\"";
        EXPECT_EQ((clock.Now() - before).count(), c.waitedMs) << "printed \"" << c.printed << "\"";
    }
    // The screen shows every mark that was not spoken.
    EXPECT_EQ(ScreenRow(0).substr(0, 13), ". , word?!...");
}

} // namespace
} // namespace orbela::testing
