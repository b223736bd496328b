// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A test hook: with ORBELA_DIALOG_PROBE set, every showing of the data-entry
// dialog is counted on standard error ("orbela-dialog-shown N") once the
// dialog is up, so that a script typing real keys knows which prompt it
// types into; and the field's text is written when the dialog is confirmed
// ("orbela-dialog-text TEXT", UTF-8), so that it can read back what its
// keys typed. Off by default.

class QString;
class QWidget;

namespace orbela {

void ArmDialogProbe(QWidget& dialog);
void ReportDialogText(const QString& text);

} // namespace orbela
