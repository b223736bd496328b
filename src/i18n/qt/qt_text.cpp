// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/qt_text.h"

#include "i18n/resource_localizer.h"
#include "runtime/cp1250.h"

namespace orbela {

QString FromCp1250(std::string_view cp1250)
{
    const std::string utf8 = Cp1250ToUtf8(cp1250);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToCp1250(const QString& text)
{
    return Utf8ToCp1250Lossy(text.toStdString());
}

QString LanguageText(int language, int index)
{
    return FromCp1250(LoadLanguageString(language, index));
}

} // namespace orbela
