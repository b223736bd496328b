// SPDX-License-Identifier: GPL-3.0-or-later
// The output statement: the screen writer and the speech step.

#include <algorithm>
#include <chrono>
#include <string>

#include "runtime/clock.h"
#include "runtime/print_listener.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"

namespace orbela {
namespace {

constexpr int LastRow = Screen::Rows - 1;
// Mode 2 starts a new row from this column on instead of a tab stop.
constexpr int LastTabColumn = 73;
constexpr int TabWidth = 8;
constexpr auto PausePerMark = std::chrono::milliseconds(300);

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool IsPauseMark(char c)
{
    return c == '.' || c == ',' || c == ';' || c == '?';
}

// The column where mode 2 leaves the cursor: a column 8k stays, 8k+1 moves
// on by one, every other column goes to the next multiple of 8.
int NextTabColumn(int column)
{
    const int r = column % TabWidth;
    if (r == 0)
        return column;
    if (r == 1)
        return column + 1;
    return column + (TabWidth - r);
}

} // namespace

void Runtime::NextRow(int& row, int& column)
{
    ++row;
    column = 0;
    if (row > LastRow) {
        row = LastRow;
        screen_.Scroll();
    }
}

void Runtime::WriteRow(int row, int column, std::string_view piece)
{
    std::string text = screen_.Row(row);
    if (text.size() < static_cast<std::size_t>(Screen::Columns))
        text.resize(Screen::Columns, ' ');
    text.replace(static_cast<std::size_t>(column), piece.size(), piece);
    screen_.SetRow(row, std::move(text));
}

int Runtime::WriteRows(std::string_view text)
{
    // The cursor holds 0..80 and 0..23 when only this writer moves it;
    // anything beyond is taken as the nearest edge rather than written
    // outside the screen.
    int column = std::min<int>(state_.scrcursor.getx(), Screen::Columns);
    int row = std::min<int>(state_.scrcursor.gety(), LastRow);

    // A hard break at column 80: words are cut wherever the column falls.
    if (text.size() + static_cast<std::size_t>(column) > static_cast<std::size_t>(Screen::Columns)) {
        do {
            const std::size_t room = static_cast<std::size_t>(Screen::Columns - column);
            WriteRow(row, column, text.substr(0, room));
            text.remove_prefix(room);
            NextRow(row, column);
        } while (text.size() > static_cast<std::size_t>(Screen::Columns));
    }
    WriteRow(row, column, text);
    column += static_cast<int>(text.size());
    state_.scrcursor.setx(static_cast<std::uint8_t>(column));
    state_.scrcursor.sety(static_cast<std::uint8_t>(row));
    const int textEnd = column;

    switch (state_.printmode) {
    case static_cast<std::uint8_t>(LineEnd::NewLine):
        NextRow(row, column);
        break;
    case static_cast<std::uint8_t>(LineEnd::NextTab):
        if (column >= LastTabColumn)
            NextRow(row, column);
        else
            column = NextTabColumn(column);
        break;
    default:
        break;
    }
    state_.scrcursor.setx(static_cast<std::uint8_t>(column));
    state_.scrcursor.sety(static_cast<std::uint8_t>(row));
    return textEnd;
}

void Runtime::WriteScreen(std::string_view text)
{
    // Held apart from the rows: the caller's text may be a view of one.
    WriteRows(std::string(text));
}

void Runtime::SpeakPrinted(std::string_view text)
{
    if (text.empty())
        return;
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
    // Only a pause mark as the first visible character changes what is
    // spoken; any other text, leading blanks included, goes out as printed.
    if (first == text.end() || !IsPauseMark(*first)) {
        speech_->SpeakAndWait(text);
        return;
    }
    text.remove_prefix(static_cast<std::size_t>(first - text.begin()));
    // The marks become silences, as the notetaker's voice makes them.
    while (!text.empty() && IsPauseMark(text.front())) {
        clock_.Sleep(PausePerMark);
        text.remove_prefix(1);
    }
    if (text.empty())
        return;
    speech_->SpeakAndWait(text);
}

void Runtime::Print(std::string_view view, std::uint8_t mode)
{
    // Held apart from the rows: the caller's text may be a view of one.
    const std::string text(view);
    state_.printmode = mode;
    const int textEnd = WriteRows(text);
    if (printListener_)
        printListener_->Printed(text, mode, textEnd, state_.scrcursor);
    SpeakPrinted(text);
}

} // namespace orbela
