// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/message_box_error_report.h"

#include <QApplication>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"

namespace orbela {

void MessageBoxErrorReport::Report(std::string_view cp1250Message)
{
    ShowMessage(QApplication::activeWindow(), FromCp1250(cp1250Message), MessageKind::Error);
}

} // namespace orbela
