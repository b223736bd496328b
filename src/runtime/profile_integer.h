// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The integers of the configuration file, also used by the character name
// files: an optional sign and decimal digits; a value of more than two
// characters beginning with "0x" or "0X", or one beginning with "$", is
// hexadecimal. Anything else (empty, blanks, trailing characters, a number
// outside the int range) is no integer.

#include <optional>
#include <string_view>

namespace orbela {

std::optional<int> ParseProfileInteger(std::string_view value);

} // namespace orbela
