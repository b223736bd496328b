// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings / Braille display: switches the display output on and off and
// keeps the choice in the configuration file.

class QAction;
class QMenu;

namespace orbela {

class BrailleSession;
class ErrorReport;
class IniFile;

// Added after the menu's other items; checked when the session is on.
QAction* AddBrailleDisplayItem(QMenu& settings, BrailleSession& session, IniFile& configuration,
                               ErrorReport& report, int language);

} // namespace orbela
