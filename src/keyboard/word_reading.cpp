// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/word_reading.h"

namespace orbela {
namespace {

bool IsSeparator(char character)
{
    return WordSeparators.find(character) != std::string_view::npos;
}

// A line feed follows the carriage return of a line break; the caret never
// stands between the two, so a jump treats it as part of the break.
bool IsBreak(char character)
{
    return IsSeparator(character) || character == '\n';
}

} // namespace

std::string wordat(std::string_view text, std::size_t caret)
{
    std::string word;
    for (std::size_t i = caret; i < text.size() && !IsSeparator(text[i]); ++i)
        word += text[i];
    return word;
}

std::size_t NextWordStart(std::string_view text, std::size_t caret)
{
    std::size_t i = caret < text.size() ? caret : text.size();
    while (i < text.size() && !IsBreak(text[i]))
        ++i;
    while (i < text.size() && IsBreak(text[i]))
        ++i;
    return i;
}

std::size_t PreviousWordStart(std::string_view text, std::size_t caret)
{
    std::size_t i = caret < text.size() ? caret : text.size();
    while (i > 0 && IsBreak(text[i - 1]))
        --i;
    while (i > 0 && !IsBreak(text[i - 1]))
        --i;
    return i;
}

} // namespace orbela
