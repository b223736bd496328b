// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text at the boundary between the runtime (Windows-1250) and Qt (UTF-16).

#include <QString>

#include <string>
#include <string_view>

namespace orbela {

QString FromCp1250(std::string_view cp1250);

// Characters without a Windows-1250 form become "?".
std::string ToCp1250(const QString& text);

// Language string `index` of `language`, ready for a widget.
QString LanguageText(int language, int index);

} // namespace orbela
