// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adventure's texts are written in UTF-8; the runtime speaks
// Windows-1250. Each text is converted once, at its first use, and kept.

#include <string>
#include <string_view>

namespace orbela::kvaldor {

// The Windows-1250 form of a text of the adventure's tables. The reference
// stays valid for the life of the process. Raises Error for a text without
// a Windows-1250 form.
const std::string& Cp1250(std::string_view utf8);

} // namespace orbela::kvaldor
