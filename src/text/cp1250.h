// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1250 is the text of the runtime: one character is one byte is one
// screen column. These convert at the edges (GUI, terminal, speech, file
// names), through iconv.

#include <optional>
#include <string>
#include <string_view>

namespace orbela {

// Every byte converts; the five bytes the code page leaves undefined become
// U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// Nullopt when the text is not valid UTF-8 or holds a character that has no
// Windows-1250 form.
std::optional<std::string> TryUtf8ToCp1250(std::string_view utf8);

// As above, but raises Error naming the first character that cannot be
// converted.
std::string Utf8ToCp1250(std::string_view utf8);

// As above, but puts "?" for each character that cannot be converted; for
// texts that must be shown whatever they hold (file paths in messages).
std::string Utf8ToCp1250Lossy(std::string_view utf8);

} // namespace orbela
