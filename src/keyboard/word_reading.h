// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and moving by words in a text as the user hears it: a word ends
// only at a carriage return, a blank or a comma, so that "klíč." is one
// word. Texts are Windows-1250 and positions count bytes, a line break
// being the two characters CR LF.

#include <cstddef>
#include <string>
#include <string_view>

namespace orbela {

// The characters that end a word.
inline constexpr std::string_view WordSeparators = "\r ,";

// The word that begins right of the caret: from the character at `caret`
// (counting from 0) up to, not including, the first separator or the end of
// the text. Empty when the caret stands before a separator or at the end.
std::string wordat(std::string_view text, std::size_t caret);

// Where Ctrl+Right takes the caret: past the rest of the word it stands in,
// then past the separators (and line feeds) after it.
std::size_t NextWordStart(std::string_view text, std::size_t caret);

// Where Ctrl+Left takes the caret: back over the separators (and line
// feeds) before it, then to the start of the word found there.
std::size_t PreviousWordStart(std::string_view text, std::size_t caret);

} // namespace orbela
