// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The braille display's menu item; the setting itself is kept by the
// settings library.

#include <string_view>

#include "settings/braille_display_setting.h"

namespace orbela {

// The menu item's caption, UTF-8, in the program's language (Czech when the
// language is unknown).
std::string_view BrailleDisplayCaption(int language);

} // namespace orbela
