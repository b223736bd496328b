// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/qt/tform5.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "i18n/qt/qt_text.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/tone_sounds.h"
#include "settings/ini_file.h"
#include "speech/recording_engine.h"
#include "speech/speech_service.h"
#include "support/fakes.h"
#include "support/gui_queue.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::TempFolder;
using testing::WhenModal;

// Notes what the statements play: "snd11 1000" for a tone wave at
// 64 x 1000 Hz started, "beep" for an effect.
class PlayedSounds final : public ToneSounds {
    class Wave final : public ToneSound {
    public:
        Wave(std::string name, std::vector<std::string>& played) : name_(std::move(name)), played_(played) {}
        void SetLooped(bool) override {}
        void SetFrequency(std::int32_t hz) override { hz_ = hz; }
        void SetVolume(std::int32_t volume) override { volume_ = volume; }
        void Play() override
        {
            played_.push_back(name_ + " " + std::to_string(hz_ / 64) + " at " + std::to_string(volume_));
        }
        void Stop() override {}

    private:
        std::string name_;
        std::vector<std::string>& played_;
        std::int32_t hz_ = 0;
        std::int32_t volume_ = 0;
    };

public:
    ToneSound& FindSound(std::string_view name) override
    {
        auto& wave = waves_[std::string(name)];
        if (!wave)
            wave = std::make_unique<Wave>(std::string(name), played);
        return *wave;
    }
    void PlaySoundEffect(std::string_view name, std::int32_t) override { played.emplace_back(name); }
    std::vector<std::string> played;

private:
    std::map<std::string, std::unique_ptr<Wave>> waves_;
};

class SoundDialogTest : public ::testing::Test {
protected:
    SoundDialogTest()
    {
        runtime.SetToneSounds(&sounds);
        SetMessageBoxHook([this](const QString& text, MessageKind) { messages.push_back(text); });
        dialog.SetVoiceMenuItem(&voiceItem);
        voiceItem.setEnabled(false);
    }
    ~SoundDialogTest() override { SetMessageBoxHook({}); }

    void InstallEmbeddedEngine()
    {
        speechService.SetEngine(EngineSlot::Embedded, std::make_unique<RecordingEngine>(gui));
    }

    // Opens the dialog from the menu command; `answer` runs once it is
    // shown modally and active, and then closes it with OK or Cancel.
    void Open(std::function<void()> answer, bool ok)
    {
        WhenModal(&dialog, [this, answer = std::move(answer), ok] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            answer();
            QTest::mouseClick(ok ? dialog.okbitbtn : dialog.cancelbitbtn, Qt::LeftButton);
        });
        dialog.ShowSounds();
    }

    bool Written(const char* section, const char* key) const
    {
        return configuration.ReadString(section, key, "absent") != "absent";
    }

    TempFolder folder;
    IniFile configuration{folder / "orbela.ini"};
    Screen screen;
    testing::ScriptedDialog input;
    testing::RecordingSpeech speech;
    VirtualClock clock;
    Runtime runtime{screen, input, speech, clock};
    testing::GuiQueue gui;
    SpeechService speechService{runtime.State(), gui};
    PlayedSounds sounds;
    QAction voiceItem{nullptr};
    TForm5 dialog{runtime, configuration,
                  {[this] { return speechService.Engine(EngineSlot::Embedded) != nullptr; },
                   [this] { return speechService.Flags().usesapi5; }}};
    std::vector<QString> messages;
};

TEST_F(SoundDialogTest, AVolumeBetweenStepsIsRoundedToTheBarAsTheDialogOpens)
{
    runtime.State().sndvolume = -2550;
    Open([this] {
        EXPECT_EQ(dialog.sndvoltrackbar->value(), 74);
        EXPECT_EQ(runtime.State().sndvolume, -2600);
    }, true);
    EXPECT_EQ(runtime.State().sndvolume, -2600);
    EXPECT_EQ(configuration.ReadInteger("sounds", "sndvolume", 0), -2600);
    // Opening alone is no preview.
    EXPECT_TRUE(sounds.played.empty());

    runtime.State().sndvolume = -2550;
    Open([] {}, false);
    EXPECT_EQ(runtime.State().sndvolume, -2600);
}

TEST_F(SoundDialogTest, MovingTheBarChangesTheVolumeLiveWithAPreviewAndCancelPutsItBack)
{
    runtime.State().sndvolume = -2500;
    Open([this] {
        EXPECT_EQ(dialog.sndvoltrackbar->value(), 75);
        dialog.sndvoltrackbar->setValue(40);
        EXPECT_EQ(runtime.State().sndvolume, -6000);
        EXPECT_EQ(sounds.played, (std::vector<std::string>{"snd11 1000 at -6000"}));
    }, false);
    EXPECT_EQ(runtime.State().sndvolume, -2500);
    EXPECT_FALSE(Written("sounds", "sndvolume"));

    // While the dialog is not the active window the bar moves silently.
    sounds.played.clear();
    dialog.sndvoltrackbar->setValue(100);
    EXPECT_EQ(runtime.State().sndvolume, 0);
    EXPECT_TRUE(sounds.played.empty());
}

TEST_F(SoundDialogTest, UncheckingTheSoundsDisablesTheBarAndSilencesTheStatementsAfterOk)
{
    Open([this] {
        EXPECT_TRUE(dialog.sndvoltrackbar->isEnabled());
        QTest::mouseClick(dialog.orbelasoundschk, Qt::LeftButton);
        EXPECT_FALSE(dialog.sndvoltrackbar->isEnabled());
        QTest::mouseClick(dialog.orbelasoundschk, Qt::LeftButton);
        EXPECT_TRUE(dialog.sndvoltrackbar->isEnabled());
        QTest::mouseClick(dialog.orbelasoundschk, Qt::LeftButton);
    }, true);
    EXPECT_FALSE(runtime.State().orbelasounds);
    EXPECT_FALSE(configuration.ReadBool("sounds", "orbelasounds", true));
    runtime.Beep();
    runtime.Click(2);
    runtime.Tone({1000}, 1, 100);
    EXPECT_TRUE(sounds.played.empty());

    // Opened again with the sounds off, the bar starts disabled.
    Open([this] { EXPECT_FALSE(dialog.sndvoltrackbar->isEnabled()); }, false);
}

TEST_F(SoundDialogTest, VoiceCannotBeSwitchedOnWithoutTheEmbeddedEngineButTheRestIsApplied)
{
    runtime.State().voiceallowed = false;
    Open([this] {
        QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton);
        QTest::mouseClick(dialog.orbelasoundschk, Qt::LeftButton);
    }, true);
    EXPECT_EQ(messages, (std::vector<QString>{LanguageText(1000, InterfaceString::NoVoices)}));
    EXPECT_FALSE(dialog.voicecheckbox->isChecked());
    EXPECT_FALSE(runtime.State().voiceallowed);
    EXPECT_FALSE(voiceItem.isEnabled());
    EXPECT_FALSE(configuration.ReadBool("voice", "voiceallowed", true));
    EXPECT_FALSE(configuration.ReadBool("sounds", "orbelasounds", true));
}

TEST_F(SoundDialogTest, VoiceSwitchedOnWithTheEmbeddedEnginePicksAVoiceOnlyWhenItWasOff)
{
    InstallEmbeddedEngine();
    int switched = 0;
    bool voiceThere = true;
    dialog.SetSwitchVoiceOn([&] {
        ++switched;
        return voiceThere;
    });

    Open([this] { QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton); }, true);
    EXPECT_EQ(switched, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(runtime.State().voiceallowed);
    EXPECT_TRUE(voiceItem.isEnabled());
    EXPECT_TRUE(configuration.ReadBool("voice", "voiceallowed", false));

    // Already allowed: the voice list is not built again.
    Open([] {}, true);
    EXPECT_EQ(switched, 1);
    EXPECT_TRUE(runtime.State().voiceallowed);

    // Off, then on while the system service speaks: the Voice item stays
    // disabled, as the engine switch left it.
    Open([this] { QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton); }, true);
    EXPECT_FALSE(runtime.State().voiceallowed);
    EXPECT_FALSE(voiceItem.isEnabled());
    speechService.SetUseSapi5(true);
    Open([this] { QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton); }, true);
    EXPECT_EQ(switched, 2);
    EXPECT_TRUE(runtime.State().voiceallowed);
    EXPECT_FALSE(voiceItem.isEnabled());

    // An engine without a voice to pick is no voice at all.
    speechService.SetUseSapi5(false);
    voiceThere = false;
    Open([this] { QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton); }, true);
    Open([this] { QTest::mouseClick(dialog.voicecheckbox, Qt::LeftButton); }, true);
    EXPECT_EQ(switched, 3);
    EXPECT_EQ(messages, (std::vector<QString>{LanguageText(1000, InterfaceString::NoVoices)}));
    EXPECT_FALSE(runtime.State().voiceallowed);
    EXPECT_FALSE(dialog.voicecheckbox->isChecked());
}

} // namespace
} // namespace orbela
