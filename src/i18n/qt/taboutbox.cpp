// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/taboutbox.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "i18n/product_info.h"
#include "i18n/qt/control_facts.h"
#include "i18n/qt/qt_text.h"

namespace orbela {
namespace {

constexpr int IconSize = 32;

QLabel* NamedLabel(const char* objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TAboutbox::TAboutbox(int language, QWidget* parent) : QDialog(parent)
{
    setObjectName("TAboutbox");
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName("ProgramIcon");
    // The picture comes when the box is first shown (showEvent): looking it
    // up in the icon theme takes ~10 ms, which every start would pay.
    ProgramIcon->setFixedSize(IconSize, IconSize);
    ProductName = NamedLabel("ProductName", panel);
    Version = NamedLabel("Version", panel);
    Copyright = NamedLabel("Copyright", panel);
    Comments = NamedLabel("Comments", panel);
    Comments->setWordWrap(true);
    // Empty: nothing to read, so it takes no focus.
    Comments->setTextInteractionFlags(Qt::NoTextInteraction);
    Comments->setFocusPolicy(Qt::NoFocus);

    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panelLayout->addWidget(ProductName, 0, 1);
    panelLayout->addWidget(Version, 1, 1);
    panelLayout->addWidget(Copyright, 2, 1);
    panelLayout->addWidget(Comments, 3, 0, 1, 2);

    OKButton = new QPushButton(this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate(language);
}

void TAboutbox::showEvent(QShowEvent* event)
{
    if (ProgramIcon->pixmap().isNull())
        ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(IconSize, IconSize));
    QDialog::showEvent(event);
}

void TAboutbox::FormCreate(int language)
{
    SetShownLanguage(*this, language);
    ApplyCaption(*this, language, InterfaceString::AboutCaption);
    ProductName->setText(LanguageText(language, InterfaceString::ProductName));
    Version->setText(LanguageText(language, InterfaceString::Version) + ' ' + QString::fromStdString(ProgramVersion()));
    // The same lines --version prints; the licence is not translated.
    Copyright->setText(QString::fromStdString(CopyrightLine() + "\n" + LicenceLine()));
    for (QLabel* label : {ProductName, Version, Copyright, Comments})
        label->setAccessibleName(label->text());
    ProgramIcon->setAccessibleName(ProductName->text());
    ApplyCaption(*OKButton, language, InterfaceString::Ok);
}

} // namespace orbela
