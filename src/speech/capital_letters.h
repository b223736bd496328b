// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Letter case of Windows-1250 characters, as the speech service and the
// voice list need it.

#include <string_view>

namespace orbela {

// "A" to "Z", or a capital of the Czech and Slovak letters with diacritics
// (the capitals of the list "áÁäÄ...žŽ§", where lower-case and capital
// alternate and the final "§" is no capital).
bool IsCapitalLetter(char c);

// The lower-case form of a Windows-1250 letter (ASCII and the letters with
// diacritics of the code page); any other byte is returned unchanged.
char LowerCp1250(char c);

// Whole-text comparison without regard to letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

} // namespace orbela
