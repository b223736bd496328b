// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's controls and menu items read as the facts a description is made
// of (label, role, value, state), and the language each window's texts
// were set in, so that the words the program adds match the window.

#include <QString>

#include <vector>

#include "i18n/control_description.h"

class QAction;
class QGroupBox;
class QWidget;

namespace orbela {

// Texts in Windows-1250; the label without its access-key mark: a button's
// caption, else the caption of the label naming the control as its buddy,
// else its accessible name.
ControlFacts FactsOf(const QWidget& control);
// A menu item as shown in `shownIn` (a menu bar's items are menus).
ControlFacts FactsOf(const QAction& item, const QWidget& shownIn);
// The group box around the control, or nullptr.
const QGroupBox* GroupOf(const QWidget& control);
// What a window shows besides its controls, line by line in order: the
// About box's lines, a message box's text. Labels that name a control are left out.
std::vector<QString> StaticTextsOf(const QWidget& window);

// Recorded by each window as it sets its texts.
void SetShownLanguage(QWidget& window, int language);
// The language of the widget's window; a menu shows its owner's, a window
// that recorded none (a message box) `fallback`.
int ShownLanguage(const QWidget& widget, int fallback);

} // namespace orbela
