// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text at the boundary between the runtime (Windows-1250) and Qt (UTF-16).

#include "i18n/interface_strings.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace orbela {

QString FromCp1250(std::string_view cp1250);

// Characters without a Windows-1250 form become "?".
std::string ToCp1250(const QString& text);

// Language string `which` of `language`, ready for a widget.
QString LanguageText(int language, InterfaceString which);

// "&Voices" -> "Voices"; "&&" is a real ampersand and stays one.
QString WithoutAccessKey(const QString& caption);

// Shows `caption` on `control` (a button's text, a group box's title, a
// label's text, else the window's title) and gives a screen reader the name
// it shows: the control's own, or for a label its buddy's, without the
// access-key mark. A window's title has no access key and is its name as is.
void ApplyCaption(QWidget& control, const QString& caption);
void ApplyCaption(QWidget& control, int language, InterfaceString which);

} // namespace orbela
