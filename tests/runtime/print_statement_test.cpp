#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/print_listener.h"
#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

// A text whose every character tells its own position, so that a cut in the
// wrong place shows.
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
    EXPECT_TRUE(ScreenRow(2).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 6);
    // The whole text is spoken once, not row by row.
    ASSERT_EQ(speech.spoken.size(), 1u);
    EXPECT_EQ(speech.spoken[0], text);
}

TEST_F(ScreenWriterTest, StayAtColumn75WrapsTheRestOntoTheNextRow)
{
    PlaceCursor(75, 0);
    runtime.Print("0123456789", LineEnd::Stay);

    EXPECT_EQ(ScreenRow(0), std::string(75, ' ') + "01234");
    EXPECT_EQ(ScreenRow(1), Padded("56789"));
    EXPECT_EQ(Column(), 5);
    EXPECT_EQ(Row(), 1);
}

TEST_F(ScreenWriterTest, WritingOverwritesFromTheCursorAndKeepsTheRest)
{
    runtime.Print("hello world", LineEnd::NewLine);
    PlaceCursor(6, 0);
    runtime.Print("there", LineEnd::Stay);

    EXPECT_EQ(ScreenRow(0), Padded("hello there"));
    EXPECT_EQ(Column(), 11);
    EXPECT_EQ(Row(), 0);
}

TEST_F(ScreenWriterTest, EmptyTextPadsTheRowMovesOnAndSpeaksNothing)
{
    PlaceCursor(7, 2);
    runtime.Print("", LineEnd::NewLine);

    EXPECT_EQ(ScreenRow(2), std::string(80, ' '));
    EXPECT_TRUE(ScreenRow(3).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 3);
    EXPECT_TRUE(speech.spoken.empty());
}

TEST_F(ScreenWriterTest, FullRowWithStayLeavesColumn80AndTheNextOutputStartsBelow)
{
    const std::string full = Numbered(80);
    runtime.Print(full, LineEnd::Stay);
    EXPECT_EQ(Column(), 80);
    EXPECT_EQ(Row(), 0);
    EXPECT_TRUE(ScreenRow(1).empty());

    runtime.Print("next", LineEnd::Stay);
    EXPECT_EQ(ScreenRow(0), full);
    EXPECT_EQ(ScreenRow(1), Padded("next"));
    EXPECT_EQ(Column(), 4);
    EXPECT_EQ(Row(), 1);
}

TEST_F(ScreenWriterTest, TextsThatFillWholeRowsExactly)
{
    // 160 characters end at column 80 of the second row, not at column 0 of
    // a third.
    const std::string text = Numbered(160);
    runtime.Print(text, LineEnd::Stay);
    EXPECT_EQ(ScreenRow(0), text.substr(0, 80));
    EXPECT_EQ(ScreenRow(1), text.substr(80));
    EXPECT_TRUE(ScreenRow(2).empty());
    EXPECT_EQ(Column(), 80);
    EXPECT_EQ(Row(), 1);

    runtime.Print("", LineEnd::NewLine);
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 2);
    EXPECT_TRUE(ScreenRow(2).empty());
}

TEST_F(ScreenWriterTest, WindowsCodePageLettersTakeOneColumnEach)
{
    const std::string word = Cp("žluťoučký kůň");
    runtime.Print(word, LineEnd::Stay);
    EXPECT_EQ(Column(), 13);
    EXPECT_EQ(ScreenRow(0), Padded(word));
}

struct TabCase {
    int textEnd;
    int column;
    int rowAdvance;
};

class NextTabColumnTest : public RuntimeTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(NextTabColumnTest, MovesToTheNextTabColumnOrANewRow)
{
    const TabCase c = GetParam();
    PlaceCursor(0, 4);
    runtime.Print(std::string(static_cast<std::size_t>(c.textEnd), 'x'), LineEnd::NextTab);
    EXPECT_EQ(Column(), c.column) << "text ending at column " << c.textEnd;
    EXPECT_EQ(Row(), 4 + c.rowAdvance);
    // The tab stop only moves the cursor; the row holds the text and blanks.
    EXPECT_EQ(ScreenRow(4), Padded(std::string(static_cast<std::size_t>(c.textEnd), 'x')));
}

INSTANTIATE_TEST_SUITE_P(Columns, NextTabColumnTest,
    ::testing::Values(TabCase{0, 0, 0}, TabCase{1, 2, 0}, TabCase{2, 8, 0}, TabCase{7, 8, 0},
        TabCase{8, 8, 0}, TabCase{9, 10, 0}, TabCase{10, 16, 0}, TabCase{65, 66, 0},
        TabCase{66, 72, 0}, TabCase{72, 72, 0}, TabCase{73, 0, 1}, TabCase{80, 0, 1}));

TEST_F(ScreenWriterTest, UnknownLineEndModeStaysLikeMode1)
{
    runtime.Print("abc", static_cast<std::uint8_t>(9));
    EXPECT_EQ(Column(), 3);
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(runtime.State().printmode, 9);
}

TEST_F(ScreenWriterTest, NewLineOnTheLastRowScrolls)
{
    for (int i = 0; i < 24; ++i)
        runtime.Print("row " + std::to_string(i), LineEnd::NewLine);

    // The 24th line went to row 23; its line end scrolled the screen.
    EXPECT_EQ(ScreenRow(0), Padded("row 1"));
    EXPECT_EQ(ScreenRow(22), Padded("row 23"));
    EXPECT_TRUE(ScreenRow(23).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, ScrollingKeepsTheLatest24Rows)
{
    for (int i = 0; i < 30; ++i)
        runtime.Print("row " + std::to_string(i), LineEnd::NewLine);

    for (int row = 0; row < 23; ++row)
        EXPECT_EQ(ScreenRow(row), Padded("row " + std::to_string(row + 7)));
    EXPECT_TRUE(ScreenRow(23).empty());
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, WrapOnTheLastRowScrollsInTheMiddleOfTheText)
{
    PlaceCursor(70, 23);
    runtime.Print("0123456789abcdef", LineEnd::Stay);

    EXPECT_EQ(ScreenRow(22), std::string(70, ' ') + "0123456789");
    EXPECT_EQ(ScreenRow(23), Padded("abcdef"));
    EXPECT_EQ(Column(), 6);
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, TextLongerThanTheScreenLeavesItsLast24Rows)
{
    std::string text;
    for (char c = 'A'; c < 'A' + 30; ++c)
        text += std::string(80, c);
    runtime.Print(text, LineEnd::Stay);

    // 30 full rows: the last one, row 23, holds the 30th block.
    for (int row = 0; row < 24; ++row)
        EXPECT_EQ(ScreenRow(row), std::string(80, static_cast<char>('A' + 6 + row)));
    EXPECT_EQ(Column(), 80);
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, CursorBeyondTheScreenIsTakenAsItsEdge)
{
    PlaceCursor(200, 40);
    runtime.Print("abc", LineEnd::Stay);
    // Taken as column 80 of row 23: the row is full, so the text starts on
    // a fresh row 23 after a scroll.
    EXPECT_EQ(ScreenRow(23), Padded("abc"));
    EXPECT_EQ(Column(), 3);
    EXPECT_EQ(Row(), 23);
}

TEST_F(ScreenWriterTest, PrintingAViewOfAScreenRowIsSafe)
{
    runtime.Print("first", LineEnd::NewLine);
    PlaceCursor(0, 23);
    // The row's own text scrolls away under the statement's feet.
    runtime.Print(ScreenRow(0), LineEnd::NewLine);
    EXPECT_EQ(ScreenRow(22), Padded("first"));
    ASSERT_EQ(speech.spoken.size(), 2u);
    EXPECT_EQ(speech.spoken[1], Padded("first"));
}

class RecordingListener final : public PrintListener {
public:
    struct Call {
        std::string text;
        std::uint8_t mode;
        int textEnd;
        int column;
        int row;
        std::size_t spokenBefore;
    };
    explicit RecordingListener(const RecordingSpeech& speech) : speech_(speech) {}
    void Printed(std::string_view text, std::uint8_t mode, int textEnd, const tscrcursor& cursor) override
    {
        calls.push_back({std::string(text), mode, textEnd, cursor.getx(), cursor.gety(), speech_.spoken.size()});
    }
    std::vector<Call> calls;

private:
    const RecordingSpeech& speech_;
};

TEST_F(ScreenWriterTest, ListenerHearsOfEachPrintBeforeItIsSpoken)
{
    RecordingListener listener(speech);
    runtime.SetPrintListener(&listener);
    PlaceCursor(70, 0);
    runtime.Print("abcd", LineEnd::NextTab);
    runtime.Print("0123456789", LineEnd::NewLine);
    runtime.SetPrintListener(nullptr);
    runtime.Print("unheard", LineEnd::NewLine);

    ASSERT_EQ(listener.calls.size(), 2u);
    EXPECT_EQ(listener.calls[0].text, "abcd");
    EXPECT_EQ(listener.calls[0].mode, 2);
    EXPECT_EQ(listener.calls[0].textEnd, 74);
    EXPECT_EQ(listener.calls[0].column, 0);
    EXPECT_EQ(listener.calls[0].row, 1);
    EXPECT_EQ(listener.calls[0].spokenBefore, 0u);
    EXPECT_EQ(listener.calls[1].textEnd, 10);
    EXPECT_EQ(listener.calls[1].row, 2);
    EXPECT_EQ(listener.calls[1].spokenBefore, 1u);
}

// Speaks nothing but notes what the screen showed when the speech began.
class ScreenWatchingSpeech final : public SpeechOutput {
public:
    explicit ScreenWatchingSpeech(const Screen& screen) : screen_(screen) {}
    void SpeakAndWait(std::string_view) override { rowsSeen.push_back(screen_.Row(0)); }
    std::vector<std::string> rowsSeen;

private:
    const Screen& screen_;
};

TEST_F(ScreenWriterTest, TextIsOnTheScreenBeforeItIsSpoken)
{
    ScreenWatchingSpeech watching(screen);
    runtime.SetSpeech(watching);
    runtime.Print("shown first", LineEnd::Stay);
    ASSERT_EQ(watching.rowsSeen.size(), 1u);
    EXPECT_EQ(watching.rowsSeen[0], Padded("shown first"));
    EXPECT_TRUE(speech.spoken.empty());
}

using PrintSpeechTest = RuntimeTest;

TEST_F(PrintSpeechTest, PauseMarksBecomeWaitsUpToTheFirstOtherCharacter)
{
    struct Case {
        std::string printed;
        std::vector<std::string> spoken;
        int waitedMs;
    };
    const std::vector<Case> cases = {
        {". , word", {" , word"}, 300},
        {"?!", {"!"}, 300},
        {"...", {}, 900},
        {"  hello", {"  hello"}, 0},
        {"  ;,x", {"x"}, 600},
        {"\t.\r", {"\r"}, 300},
        {"a. b", {"a. b"}, 0},
        {"!?", {"!?"}, 0},
        {",;.?", {}, 1200},
        {"   ", {"   "}, 0},
        {"", {}, 0},
    };
    for (const Case& c : cases) {
        speech.spoken.clear();
        const auto before = clock.Now();
        runtime.Print(c.printed, LineEnd::NewLine);
        EXPECT_EQ(speech.spoken, c.spoken) << "printed \"" << c.printed << "\"";
        EXPECT_EQ((clock.Now() - before).count(), c.waitedMs) << "printed \"" << c.printed << "\"";
    }
}

TEST_F(PrintSpeechTest, ScreenShowsThePauseMarksThatAreNotSpoken)
{
    runtime.Print("... so", LineEnd::NewLine);
    EXPECT_EQ(ScreenRow(0), Padded("... so"));
    EXPECT_EQ(speech.spoken, std::vector<std::string>{" so"});
}

TEST_F(PrintSpeechTest, PiecesPrintedWithStayAreSpokenOneByOne)
{
    runtime.Print("one ", LineEnd::Stay);
    runtime.Print("two", LineEnd::NewLine);
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{"one ", "two"}));
    EXPECT_EQ(ScreenRow(0), Padded("one two"));
}

} // namespace
} // namespace orbela::testing
