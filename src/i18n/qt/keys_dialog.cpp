// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/keys_dialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "i18n/guidance_strings.h"
#include "i18n/qt/qt_text.h"

namespace orbela {
KeysDialog::KeysDialog(const int& language, QWidget* parent) : QDialog(parent), language_(language)
{
    setObjectName("KeysDialog");
    keyslist = new QListWidget(this);
    keyslist->setObjectName("keyslist");
    keyslist->setWordWrap(true);
    keyslist->setMinimumSize(560, 360);
    closebutton = new QPushButton(this);
    closebutton->setObjectName("closebutton");
    connect(closebutton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keyslist);
    layout->addWidget(closebutton, 0, Qt::AlignHCenter);
}

void KeysDialog::Fill()
{
    const QString title = FromCp1250(GuidanceText(language_, GuidanceString::KeysTitle));
    setWindowTitle(title);
    setAccessibleName(title);
    keyslist->setAccessibleName(title);
    ApplyCaption(*closebutton, language_, InterfaceString::Close);
    keyslist->clear();
    for (const KeyHelpSection& section : KeyHelp(language_)) {
        // A section's title is an item of its own, read as the arrows
        // reach it, and set apart for the eye.
        auto* heading = new QListWidgetItem(FromCp1250(section.title), keyslist);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        for (const std::string& line : section.lines)
            new QListWidgetItem(FromCp1250(line), keyslist);
    }
}

void KeysDialog::ShowKeys()
{
    Fill();
    keyslist->setCurrentRow(0);
    keyslist->setFocus();
    exec();
}

} // namespace orbela
