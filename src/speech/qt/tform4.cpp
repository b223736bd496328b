// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/tform4.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>
#include <utility>
#include <vector>

#include "i18n/qt/control_facts.h"
#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "runtime/error_report.h"
#include "runtime/runtime_state.h"
#include "settings/voice_settings.h"
#include "speech/speech_service.h"

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
    : QDialog(parent), services_(std::move(services)), control_(*services_.speech)
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
    // A machine without the system service keeps the embedded engine: the
    // failure is reported and the rest of the creation goes on.
    ConnectSystemVoice();
    SetCaptions();
    if (!services_.fillVoiceListLater)
        FillVoiceListIfAllowed();
}

void TForm4::FillVoiceListIfAllowed()
{
    if (ReadVoiceAllowed(*services_.configuration))
        FillVoiceList();
}

void TForm4::ConnectSystemVoice()
{
    if (!services_.connectSystemVoice)
        return;
    try {
        services_.speech->SetEngine(EngineSlot::System, services_.connectSystemVoice());
    } catch (const std::exception& error) {
        services_.report->Report(error.what());
    }
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

// Beside a screen reader the dialog's controls are the reader's to say.
void TForm4::Say(const QString& text, Utterance what)
{
    services_.speech->SpeakAndWait(what, ToCp1250(text));
}

void TForm4::FillVoiceList()
{
    {
        const QSignalBlocker quiet(voicelist);
        voicelist->clear();
        control_.Pick(std::nullopt);
        if (!control_.Engine())
            return;
        for (const VoiceInfo& voice : control_.ListVoices())
            voicelist->addItem(QString::fromStdString(voice.name));
        const auto first = DefaultVoiceIndex(control_.Cp1250Names());
        if (!first)
            return;
        voicelist->setCurrentRow(static_cast<int>(*first));
    }
    StorePick();
}

void TForm4::StorePick()
{
    SpeechEngine* engine = control_.Engine();
    if (!engine)
        return;
    if (isActiveWindow())
        engine->Reset();
    const std::size_t listed = control_.ListVoices().size();
    const int row = voicelist->currentRow();
    // A row the engine no longer lists keeps the earlier pick.
    if (row >= 0 && static_cast<std::size_t>(row) < listed)
        control_.Pick(static_cast<std::size_t>(row));
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

void TForm4::SelectVoice()
{
    const auto ranges = control_.SelectPicked();
    if (!ranges)
        return;
    services_.speech->VoiceSelected();
    SetUpBar(*speedtb, ranges->speed);
    SetUpBar(*pitchtb, ranges->pitch);
    SetUpBar(*volumetb, ranges->volume);
    for (QWidget* control : std::initializer_list<QWidget*>{pitchtb, pitchstatic, speedtb, speedstatic, volumetb,
                                                            volumestatic})
        control->setEnabled(true);
}

void TForm4::LoadVoiceSettings()
{
    // Without the embedded engine (no audio device, say) no voice can be
    // missing: the program runs on silently instead of ending.
    if (!services_.state->voiceallowed || !control_.Engine())
        return;
    const VoiceChoice choice = ReadVoiceChoice(*services_.configuration);
    const std::string& person = choice.person;
    if (person.empty())
        return;
    std::vector<std::string> names;
    for (int row = 0; row < voicelist->count(); ++row)
        names.push_back(ToCp1250(voicelist->item(row)->text()));
    const auto found = FindVoiceIndex(names, person);
    if (!found) {
        ShowMessage(this, LanguageText(services_.state->language, InterfaceString::VoiceMissing) + " " + FromCp1250(person));
        services_.endProcess();
        return;
    }
    {
        const QSignalBlocker quiet(voicelist);
        voicelist->setCurrentRow(static_cast<int>(*found));
    }
    StorePick();
    SelectVoice();
    // A bar clamps the value to its range and runs its change handler only
    // when the position moves, which applies the value to the engine.
    pitchtb->setValue(choice.pitch);
    speedtb->setValue(choice.speed);
    volumetb->setValue(choice.volume);
}

void TForm4::SaveVoiceSettings()
{
    const QListWidgetItem* current = voicelist->currentItem();
    WriteVoiceChoice(*services_.configuration, {current ? ToCp1250(current->text()) : std::string(),
                                                pitchtb->value(), speedtb->value(), volumetb->value()});
}

bool TForm4::SwitchVoiceOn()
{
    FillVoiceList();
    if (!HasVoiceMode())
        return false;
    SelectVoice();
    SaveVoiceSettings();
    return true;
}

void TForm4::ShowVoiceSettings(const std::string& mainCaption)
{
    const int language = services_.state->language;
    if (!services_.state->voiceallowed) {
        ShowMessage(parentWidget(), LanguageText(language, InterfaceString::VoiceNotAllowed));
        return;
    }
    if (!services_.speech->Flags().engineready) {
        if (HasVoiceMode()) {
            SelectVoice();
            SaveVoiceSettings();
        } else {
            // Nothing to select: the dialog opens on the empty list.
            ShowMessage(parentWidget(), LanguageText(language, InterfaceString::NoVoices));
        }
    }
    LoadVoiceSettings();
    voicelist->setFocus();
    if (exec() == QDialog::Accepted) {
        SaveVoiceSettings();
        LoadVoiceSettings();
        Say(LanguageText(language, InterfaceString::VoiceSelected), Utterance::Confirmation);
    } else {
        Say(FromCp1250(mainCaption), Utterance::Focus);
    }
}

void TForm4::voicelistClick()
{
    StorePick();
}

void TForm4::TrackBarChange(const std::string& tag)
{
    SpeechEngine* engine = control_.Engine();
    if (!engine)
        return;
    engine->Reset();
    control_.Apply(tag);
}

void TForm4::speedtbChange()
{
    TrackBarChange(SpeedTag(speedtb->value()));
}

void TForm4::pitchtbChange()
{
    TrackBarChange(PitchTag(pitchtb->value()));
}

void TForm4::volumetbChange()
{
    TrackBarChange(VolumeTag(volumetb->value()));
}

} // namespace orbela
