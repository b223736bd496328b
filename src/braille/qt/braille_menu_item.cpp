// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/qt/braille_menu_item.h"

#include <QAction>
#include <QMenu>

#include <exception>

#include "braille/braille_setting.h"
#include "braille/qt/braille_session.h"
#include "runtime/error_report.h"

namespace orbela {

QAction* AddBrailleDisplayItem(QMenu& settings, BrailleSession& session, IniFile& configuration,
                               ErrorReport& report, int language)
{
    const std::string_view caption = BrailleDisplayCaption(language);
    QAction* item = settings.addAction(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    item->setObjectName("brailledisplayitem");
    item->setCheckable(true);
    item->setChecked(session.Enabled());
    QObject::connect(item, &QAction::triggered, &session, [&session, &configuration, &report](bool checked) {
        session.SetEnabled(checked);
        try {
            WriteBrailleDisplaySetting(configuration,
                                       checked ? BrailleDisplaySetting::Auto : BrailleDisplaySetting::Off);
        } catch (const std::exception& error) {
            report.Report(error.what());
        }
    });
    return item;
}

} // namespace orbela
