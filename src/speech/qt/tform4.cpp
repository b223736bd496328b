// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/tform4.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

#include "i18n/qt/control_facts.h"
#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "runtime/runtime_state.h"

namespace orbela {
namespace {


QSlider* NewBar(QWidget* parent, const char* name)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setEnabled(false);
    return bar;
}

QLabel* NewLabel(QWidget* parent, const char* name, QWidget* buddy)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TForm4::TForm4(Services services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)),
      model_(*services_.speech, *services_.configuration, *services_.state, *this, [this] { services_.endProcess(); })
{
    CreateControls();
    FormCreate();
}

void TForm4::CreateControls()
{
    setObjectName("TForm4");
    resize(521, 388);

    voicelist = new QListWidget(this);
    voicelist->setObjectName("voicelist");
    voicestatic = NewLabel(this, "voicestatic", voicelist);
    pitchtb = NewBar(this, "pitchtb");
    pitchstatic = NewLabel(this, "pitchstatic", pitchtb);
    speedtb = NewBar(this, "speedtb");
    speedstatic = NewLabel(this, "speedstatic", speedtb);
    volumetb = NewBar(this, "volumetb");
    volumestatic = NewLabel(this, "volumestatic", volumetb);
    for (QLabel* label : {pitchstatic, speedstatic, volumestatic})
        label->setEnabled(false);
    vyberhlasbitbtn = new QPushButton(this);
    vyberhlasbitbtn->setObjectName("vyberhlasbitbtn");
    vyberhlasbitbtn->setDefault(true);
    closebitbtn = new QPushButton(this);
    closebitbtn->setObjectName("closebitbtn");

    auto* voices = new QVBoxLayout;
    voices->addWidget(voicestatic);
    voices->addWidget(voicelist);
    auto* bars = new QVBoxLayout;
    for (auto [label, bar] : {std::pair{pitchstatic, pitchtb}, {speedstatic, speedtb}, {volumestatic, volumetb}}) {
        bars->addWidget(label);
        bars->addWidget(bar);
    }
    bars->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(voices);
    top->addLayout(bars);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(vyberhlasbitbtn);
    buttons->addWidget(closebitbtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    setTabOrder(voicelist, pitchtb);
    setTabOrder(pitchtb, speedtb);
    setTabOrder(speedtb, volumetb);
    setTabOrder(volumetb, vyberhlasbitbtn);
    setTabOrder(vyberhlasbitbtn, closebitbtn);

    connect(voicelist, &QListWidget::currentRowChanged, this, [this] { voicelistClick(); });
    connect(pitchtb, &QSlider::valueChanged, this, [this] { pitchtbChange(); });
    connect(speedtb, &QSlider::valueChanged, this, [this] { speedtbChange(); });
    connect(volumetb, &QSlider::valueChanged, this, [this] { volumetbChange(); });
    connect(vyberhlasbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(closebitbtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm4::FormCreate()
{
    if (services_.connectSystemVoice)
        ConnectSystemVoice(*services_.speech, services_.connectSystemVoice, *services_.report);
    SetCaptions();
    if (!services_.fillVoiceListLater)
        FillVoiceListIfAllowed();
}

void TForm4::SetCaptions()
{
    const int language = services_.state->language;
    SetShownLanguage(*this, language);
    ApplyCaption(*this, language, InterfaceString::VoiceCaption);
    // The labels name their lists and sliders for a screen reader.
    ApplyCaption(*voicestatic, language, InterfaceString::Voices);
    ApplyCaption(*pitchstatic, language, InterfaceString::Pitch);
    ApplyCaption(*speedstatic, language, InterfaceString::Speed);
    ApplyCaption(*volumestatic, language, InterfaceString::Volume);
    ApplyCaption(*vyberhlasbitbtn, language, InterfaceString::ChooseVoice);
    ApplyCaption(*closebitbtn, language, InterfaceString::Close);
}

void TForm4::ShowVoices(const std::vector<std::string>& names, std::optional<std::size_t> current)
{
    const QSignalBlocker quiet(voicelist);
    voicelist->clear();
    for (const std::string& name : names)
        voicelist->addItem(QString::fromStdString(name));
    if (current)
        voicelist->setCurrentRow(static_cast<int>(*current));
}

void TForm4::ShowCurrent(std::size_t row)
{
    const QSignalBlocker quiet(voicelist);
    voicelist->setCurrentRow(static_cast<int>(row));
}

int TForm4::CurrentRow() const
{
    return voicelist->currentRow();
}

std::vector<std::string> TForm4::ListedNames() const
{
    std::vector<std::string> names;
    for (int row = 0; row < voicelist->count(); ++row)
        names.push_back(ToCp1250(voicelist->item(row)->text()));
    return names;
}

bool TForm4::Active() const
{
    return isActiveWindow();
}

void TForm4::SetUpBars(const VoiceControl::Ranges& ranges)
{
    SetUpBar(*speedtb, ranges.speed);
    SetUpBar(*pitchtb, ranges.pitch);
    SetUpBar(*volumetb, ranges.volume);
    for (QWidget* control : std::initializer_list<QWidget*>{pitchtb, pitchstatic, speedtb, speedstatic, volumetb,
                                                            volumestatic})
        control->setEnabled(true);
}

void TForm4::SetUpBar(QSlider& bar, const std::optional<TrackBarSetup>& setup)
{
    if (!setup)
        return;
    bar.setMaximum(setup->maximum);
    bar.setMinimum(setup->minimum);
    bar.setValue(setup->position);
    if (setup->tickFrequency)
        bar.setTickInterval(*setup->tickFrequency);
}

void TForm4::MoveBars(const VoiceChoice& choice)
{
    pitchtb->setValue(choice.pitch);
    speedtb->setValue(choice.speed);
    volumetb->setValue(choice.volume);
}

VoiceChoice TForm4::Shown() const
{
    const QListWidgetItem* current = voicelist->currentItem();
    return {current ? ToCp1250(current->text()) : std::string(), pitchtb->value(), speedtb->value(),
            volumetb->value()};
}

void TForm4::Tell(const std::string& cp1250Text, Over over)
{
    ShowMessage(over == Over::Dialog ? this : parentWidget(), FromCp1250(cp1250Text));
}

void TForm4::ShowVoiceSettings(const std::string& mainCaption)
{
    if (!model_.Open())
        return;
    voicelist->setFocus();
    if (exec() == QDialog::Accepted)
        model_.Confirm();
    else
        model_.Cancel(mainCaption);
}

void TForm4::voicelistClick()
{
    model_.PickChanged();
}

void TForm4::speedtbChange()
{
    model_.BarMoved(SpeedTag(speedtb->value()));
}

void TForm4::pitchtbChange()
{
    model_.BarMoved(PitchTag(pitchtb->value()));
}

void TForm4::volumetbChange()
{
    model_.BarMoved(VolumeTag(volumetb->value()));
}

} // namespace orbela
