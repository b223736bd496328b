// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text between the runtime's Windows-1250 and the display's cells.

#include <string>
#include <string_view>

namespace orbela {

// One code point per Windows-1250 byte.
std::u32string CodePointsOfCp1250(std::string_view cp1250);
std::string Utf8OfCodePoints(std::u32string_view text);

} // namespace orbela
