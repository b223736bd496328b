// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/qt/tform5.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "i18n/qt/control_facts.h"
#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "runtime/runtime.h"
#include "settings/configuration.h"

namespace orbela {
namespace {

constexpr double PreviewPitch = 1000;
constexpr double PreviewWaveSet = 1;
constexpr double PreviewLength = 100;

} // namespace

TForm5::TForm5(Runtime& runtime, IniFile& configuration, VoiceFacts voice, QWidget* parent)
    : QDialog(parent), runtime_(runtime), configuration_(configuration), voice_(std::move(voice))
{
    setObjectName("TForm5");
    voicecheckbox = new QCheckBox(this);
    voicecheckbox->setObjectName("voicecheckbox");
    orbelasoundschk = new QCheckBox(this);
    orbelasoundschk->setObjectName("orbelasoundschk");
    sndvolstatic = new QLabel(this);
    sndvolstatic->setObjectName("sndvolstatic");
    sndvoltrackbar = new QSlider(Qt::Horizontal, this);
    sndvoltrackbar->setObjectName("sndvoltrackbar");
    sndvoltrackbar->setRange(0, 100);
    sndvoltrackbar->setValue(0);
    sndvolstatic->setBuddy(sndvoltrackbar);
    okbitbtn = new QPushButton(this);
    okbitbtn->setObjectName("okbitbtn");
    okbitbtn->setDefault(true);
    cancelbitbtn = new QPushButton(this);
    cancelbitbtn->setObjectName("cancelbitbtn");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbitbtn);
    buttons->addWidget(cancelbitbtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(voicecheckbox);
    layout->addWidget(orbelasoundschk);
    layout->addWidget(sndvolstatic);
    layout->addWidget(sndvoltrackbar);
    layout->addLayout(buttons);
    setTabOrder(voicecheckbox, orbelasoundschk);
    setTabOrder(orbelasoundschk, sndvoltrackbar);
    setTabOrder(sndvoltrackbar, okbitbtn);
    setTabOrder(okbitbtn, cancelbitbtn);

    connect(okbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbitbtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(sndvoltrackbar, &QSlider::valueChanged, this, [this] { sndvoltrackbarChange(); });
    connect(orbelasoundschk, &QCheckBox::toggled, this, [this] { orbelasoundschkClick(); });
    FormCreate();
}

void TForm5::FormCreate()
{
    const int language = runtime_.State().language;
    SetShownLanguage(*this, language);
    ApplyCaption(*this, language, InterfaceString::SoundsCaption);
    ApplyCaption(*voicecheckbox, language, InterfaceString::AllowVoice);
    ApplyCaption(*orbelasoundschk, language, InterfaceString::OrbelaSounds);
    ApplyCaption(*sndvolstatic, language, InterfaceString::SoundVolume);
    ApplyCaption(*okbitbtn, language, InterfaceString::Ok);
    ApplyCaption(*cancelbitbtn, language, InterfaceString::Cancel);
}

int TForm5::PositionForVolume(std::int32_t sndvolume)
{
    // Integer division, as the bar has shown it from the start; out of
    // range volumes land on the bar's ends.
    return std::clamp((static_cast<std::int64_t>(sndvolume) + 10000) / 100, std::int64_t{0}, std::int64_t{100});
}

std::int32_t TForm5::VolumeForPosition(int position)
{
    return position * 100 - 10000;
}

void TForm5::sndvoltrackbarChange()
{
    RuntimeState& state = runtime_.State();
    state.sndvolume = VolumeForPosition(sndvoltrackbar->value());
    if (isActiveWindow())
        runtime_.Tone({PreviewPitch}, PreviewWaveSet, PreviewLength);
}

void TForm5::orbelasoundschkClick()
{
    sndvoltrackbar->setEnabled(orbelasoundschk->isChecked());
}

void TForm5::ShowSounds()
{
    RuntimeState& state = runtime_.State();
    voicecheckbox->setChecked(state.voiceallowed);
    orbelasoundschk->setChecked(state.orbelasounds);
    sndvoltrackbar->setValue(PositionForVolume(state.sndvolume));
    // The volume is always the one the bar shows, also when the bar stood
    // there already and so did not announce a change.
    state.sndvolume = VolumeForPosition(sndvoltrackbar->value());
    sndvoltrackbar->setEnabled(state.orbelasounds);
    const std::int32_t remembered = state.sndvolume;

    voicecheckbox->setFocus();
    if (exec() != QDialog::Accepted) {
        state.sndvolume = remembered;
        return;
    }
    ApplyVoice();
    state.orbelasounds = orbelasoundschk->isChecked();
    SaveConfiguration(configuration_, state);
}

void TForm5::ApplyVoice()
{
    RuntimeState& state = runtime_.State();
    if (voicecheckbox->isChecked() && !state.voiceallowed) {
        const bool engine = voice_.embeddedEngineExists();
        if (!engine || (switchVoiceOn_ && !switchVoiceOn_())) {
            voicecheckbox->setChecked(false);
            ShowMessage(parentWidget(), LanguageText(state.language, InterfaceString::NoVoices));
        }
    }
    state.voiceallowed = voicecheckbox->isChecked();
    // The engine switch's rule wins: the voice dialog sets the embedded
    // engine's voice, which is not the one speaking while the system
    // service is in use.
    if (voiceMenuItem_)
        voiceMenuItem_->setEnabled(state.voiceallowed && !voice_.systemVoiceInUse());
}

} // namespace orbela
