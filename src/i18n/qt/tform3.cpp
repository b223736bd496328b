// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/tform3.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "i18n/qt/control_facts.h"
#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "i18n/resource_localizer.h"
#include "settings/configuration.h"

namespace orbela {
TForm3::TForm3(IniFile& configuration, int& language, QWidget* parent)
    : QDialog(parent), configuration_(configuration), language_(language)
{
    setObjectName("TForm3");
    languagergroup = new QGroupBox(this);
    languagergroup->setObjectName("languagergroup");
    items_ = new QButtonGroup(this);
    new QVBoxLayout(languagergroup);

    okbitbtn = new QPushButton(this);
    okbitbtn->setObjectName("okbitbtn");
    okbitbtn->setDefault(true);
    cancelbitbtn = new QPushButton(this);
    cancelbitbtn->setObjectName("cancelbitbtn");
    connect(okbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbitbtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbitbtn);
    buttons->addWidget(cancelbitbtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(languagergroup);
    layout->addLayout(buttons);
    setTabOrder(languagergroup, okbitbtn);
    setTabOrder(okbitbtn, cancelbitbtn);

    // Keyboard moves between the items check them too, so a toggle is the
    // one place where a choice is seen.
    connect(items_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            languagergroupClick();
    });
    FormCreate();
}

void TForm3::FormCreate()
{
    std::vector<LanguageListItem> list;
    TResourceLocalizer::FillLanguageList(list);
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto* item = new QRadioButton(FromCp1250(list[i].name), languagergroup);
        item->setObjectName(QString("language%1").arg(list[i].number));
        item->setAccessibleName(item->text());
        languagergroup->layout()->addWidget(item);
        items_->addButton(item, static_cast<int>(i));
        numbers_.push_back(list[i].number);
    }
    SelectItem(0);
    language_ = ReadLanguage(configuration_);
    SetTexts();
}

void TForm3::languagergroupClick()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    language_ = numbers_[static_cast<std::size_t>(index)];
    SetTexts();
}

void TForm3::SetTexts()
{
    SetShownLanguage(*this, language_);
    ApplyCaption(*this, language_, InterfaceString::EnvironmentCaption);
    ApplyCaption(*languagergroup, language_, InterfaceString::LanguageGroup);
    ApplyCaption(*okbitbtn, language_, InterfaceString::Ok);
    ApplyCaption(*cancelbitbtn, language_, InterfaceString::Cancel);
}

int TForm3::SelectedIndex() const
{
    return items_->checkedId();
}

void TForm3::SelectItem(int index)
{
    QAbstractButton* item = items_->button(index);
    if (item) {
        item->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its checked item.
    items_->setExclusive(false);
    for (QAbstractButton* button : items_->buttons())
        button->setChecked(false);
    items_->setExclusive(true);
}

void TForm3::ShowEnvironment()
{
    // Languages are numbered 1000, 2000, ...: item i stands for (i + 1) * 1000.
    const int wanted = language_ % 1000 == 0 ? language_ / 1000 - 1 : -1;
    SelectItem(wanted);
    const int remembered = SelectedIndex();
    QAbstractButton* focusItem = items_->checkedButton();
    if (!focusItem && !items_->buttons().isEmpty())
        focusItem = items_->buttons().first();
    if (focusItem)
        focusItem->setFocus();
    if (exec() != QDialog::Accepted)
        return;
    WriteLanguage(configuration_, language_);
    if (SelectedIndex() != remembered)
        ShowMessage(parentWidget(), LanguageText(language_, InterfaceString::ChangesApplied));
}

} // namespace orbela
