// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/qt_text.h"

#include "i18n/control_description.h"
#include "i18n/resource_localizer.h"
#include "text/cp1250.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

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

QString LanguageText(int language, InterfaceString which)
{
    return FromCp1250(LoadLanguageString(language, which));
}

QString WithoutAccessKey(const QString& caption)
{
    // The mark is ASCII, so the byte-wise rule holds for UTF-8 as it is.
    return QString::fromStdString(WithoutAccessKey(caption.toStdString()));
}

void ApplyCaption(QWidget& control, const QString& caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        button->setText(caption);
        button->setAccessibleName(WithoutAccessKey(caption));
    } else if (auto* group = qobject_cast<QGroupBox*>(&control)) {
        group->setTitle(caption);
        group->setAccessibleName(WithoutAccessKey(caption));
    } else if (auto* label = qobject_cast<QLabel*>(&control)) {
        // A list or a slider does not take its label's text as its name.
        label->setText(caption);
        if (QWidget* buddy = label->buddy())
            buddy->setAccessibleName(WithoutAccessKey(caption));
    } else {
        control.setWindowTitle(caption);
        control.setAccessibleName(caption);
    }
}

void ApplyCaption(QWidget& control, int language, InterfaceString which)
{
    ApplyCaption(control, LanguageText(language, which));
}

} // namespace orbela
