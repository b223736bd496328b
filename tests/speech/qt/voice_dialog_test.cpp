// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/qt/tform4.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <cstdio>
#include <memory>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "text/error.h"
#include "runtime/runtime_state.h"
#include "settings/ini_file.h"
#include "shell/qt/interface_speech.h"
#include "shell/qt/process_end.h"
#include "shell/qt/qt_message_pump.h"
#include "speech/qt/qt_gui_thread_poster.h"
#include "speech/recording_engine.h"
#include "speech/speech_service.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::ReadBytes;
using testing::WhenModal;
using Kind = RecordingEngine::Command::Kind;

class VoiceDialogTest : public ::testing::Test {
protected:
    VoiceDialogTest()
    {
        state.voiceallowed = true;
        state.language = 2000;
        auto engine = std::make_unique<RecordingEngine>(poster);
        embedded = engine.get();
        embedded->SetVoices({{"Czech", "cs", "cs"}, {"Jakub", "jakub", "cs"}, {"English (Great Britain)", "en", "en-gb"}});
        embedded->SetRange(SpeechParameter::Speed, {80, 450, 175});
        embedded->SetRange(SpeechParameter::Pitch, {0, 100, 50});
        embedded->SetRange(SpeechParameter::Volume, {0, 0xFFFFFFFF, 0xFFFFFFFF});
        service.SetEngine(EngineSlot::Embedded, std::move(engine));
        SetMessageBoxHook([this](const QString& text, MessageKind) { messages.push_back(text); });
    }
    ~VoiceDialogTest() override
    {
        form.reset();
        SetMessageBoxHook({});
    }

    void Create(std::function<std::unique_ptr<SpeechEngine>()> connectSystemVoice = {})
    {
        form = std::make_unique<TForm4>(TForm4::Services{&service, &configuration, &state, &report,
                                                         std::move(connectSystemVoice), [this] { ++ended; }});
        interface.WatchDialog(*form);
    }

    std::string Row(int row) const { return form->voicelist->item(row)->text().toStdString(); }
    std::string Current() const { return form->voicelist->currentItem()->text().toStdString(); }

    // Opens the dialog from the menu; `inside` runs once it is active.
    void Open(std::function<void()> inside)
    {
        WhenModal(form.get(), [this, inside = std::move(inside)] {
            ASSERT_TRUE(QTest::qWaitFor([this] { return form->isActiveWindow(); }));
            inside();
        });
        form->ShowVoiceSettings("orbela - Orbela Basic Interpreter");
    }

    testing::TempFolder folder;
    IniFile configuration{folder / "orbela.ini"};
    RuntimeState state;
    QtGuiThreadPoster poster;
    QtMessagePump pump;
    SpeechService service{state, pump};
    RecordingEngine* embedded = nullptr;
    testing::RecordingErrorReport report;
    std::vector<QString> messages;
    int ended = 0;
    InterfaceSpeech interface{service, state.language};
    std::unique_ptr<TForm4> form;
};

TEST_F(VoiceDialogTest, CreationListsTheVoicesPicksJakubAndSwitchingVoiceOnListsThemOnce)
{
    Create();
    ASSERT_EQ(form->voicelist->count(), 3);
    EXPECT_EQ(Current(), "Jakub");
    EXPECT_TRUE(form->HasVoiceMode());
    EXPECT_FALSE(form->speedtb->isEnabled());
    EXPECT_EQ(form->windowTitle(), "Voice settings");
    EXPECT_EQ(form->speedstatic->text(), "&Speed");

    ASSERT_TRUE(form->SwitchVoiceOn());
    EXPECT_EQ(form->voicelist->count(), 3);
    EXPECT_TRUE(service.Flags().engineready);
    EXPECT_TRUE(form->speedtb->isEnabled());
    EXPECT_TRUE(form->volumestatic->isEnabled());
    EXPECT_EQ(form->speedtb->minimum(), 80);
    EXPECT_EQ(form->speedtb->maximum(), 450);
    EXPECT_EQ(form->speedtb->tickInterval(), 37);
    EXPECT_EQ(form->volumetb->maximum(), 255);
    EXPECT_EQ(form->volumetb->value(), 255);
    EXPECT_EQ(configuration.ReadString("Voice", "person", ""), "Jakub");
    EXPECT_EQ(configuration.ReadInteger("Voice", "speed", 0), 175);
    EXPECT_EQ(configuration.ReadInteger("Voice", "pitch", 0), 50);
    EXPECT_EQ(configuration.ReadInteger("Voice", "volume", 0), 255);
    ASSERT_FALSE(embedded->Commands().empty());
    const auto selections = std::count_if(embedded->Commands().begin(), embedded->Commands().end(),
                                          [](const auto& command) { return command.kind == Kind::SelectVoice; });
    EXPECT_EQ(selections, 1);
}

TEST_F(VoiceDialogTest, LoadingFindsTheVoiceWithoutRegardToCaseAndClampsTheValues)
{
    configuration.WriteString("Voice", "person", "ENGLISH (great britain)");
    configuration.WriteInteger("Voice", "speed", 9999);
    configuration.WriteInteger("Voice", "pitch", -5);
    configuration.WriteInteger("Voice", "volume", 128);
    Create();
    form->LoadVoiceSettings();

    EXPECT_EQ(Current(), "English (Great Britain)");
    EXPECT_EQ(embedded->Commands().back().kind, Kind::SetParameter);
    EXPECT_EQ(form->speedtb->value(), 450);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Speed), 450u);
    EXPECT_EQ(form->pitchtb->value(), 0);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Pitch), 0u);
    // Position 128 injects 128 * 256 into both halves of the volume.
    EXPECT_EQ(form->volumetb->value(), 128);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Volume), 0x80008000u);
    const bool selectedEnglish = std::any_of(embedded->Commands().begin(), embedded->Commands().end(), [](const auto& c) {
        return c.kind == Kind::SelectVoice && c.text == "en";
    });
    EXPECT_TRUE(selectedEnglish);
    // The dialog is not shown: nothing is spoken, and the program goes on.
    EXPECT_TRUE(embedded->SpokenTexts().empty());
    EXPECT_EQ(ended, 0);

    // With voice not allowed the configuration is not applied.
    configuration.WriteInteger("Voice", "speed", 100);
    state.voiceallowed = false;
    form->LoadVoiceSettings();
    EXPECT_EQ(form->speedtb->value(), 450);
}

TEST_F(VoiceDialogTest, AConfiguredVoiceThatIsNotInstalledEndsTheProgramAfterTheMessage)
{
    configuration.WriteString("Voice", "person", "Missing One");
    EXPECT_EXIT(
        {
            SetMessageBoxHook([](const QString& text, MessageKind) {
                std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            });
            QuickExit quickExit([] {});
            form = std::make_unique<TForm4>(TForm4::Services{&service, &configuration, &state, &report, {},
                                                             [&quickExit] { quickExit.EndAtOnce(); }});
            form->LoadVoiceSettings();
            std::fprintf(stderr, "still running\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "message: Can't find the voice specified in the ini file: Missing One\n$");
}

// While the engine still tries its voices, the list starts with those it
// knows: switching voice on needs no wait, and the rest come when they are
// needed.
TEST_F(VoiceDialogTest, VoicesStillBeingTriedAreListedWhenTheDialogOpensOrAStoredOneIsAmongThem)
{
    embedded->KnowVoicesSoFar(2);
    Create();
    EXPECT_EQ(form->voicelist->count(), 2);
    ASSERT_TRUE(form->SwitchVoiceOn());
    EXPECT_EQ(configuration.ReadString("Voice", "person", ""), "Jakub");
    EXPECT_EQ(embedded->VoiceWaits(), 0);

    Open([this] {
        EXPECT_EQ(form->voicelist->count(), 3);
        EXPECT_EQ(Current(), "Jakub");
        EXPECT_EQ(Row(2), "English (Great Britain)");
        form->closebitbtn->click();
    });
    EXPECT_EQ(embedded->VoiceWaits(), 1);

    // A stored voice the engine has not tried yet is waited for, not
    // taken for one that is not installed.
    configuration.WriteString("Voice", "person", "English (Great Britain)");
    embedded->KnowVoicesSoFar(1);
    Create();
    form->LoadVoiceSettings();
    EXPECT_EQ(Current(), "English (Great Britain)");
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(embedded->VoiceWaits(), 2);
}

TEST_F(VoiceDialogTest, AnUnreachableSystemServiceIsReportedOnceAndTheRestOfTheCreationRuns)
{
    int attempts = 0;
    Create([&attempts]() -> std::unique_ptr<SpeechEngine> {
        ++attempts;
        throw Error("Cannot reach the speech service");
    });
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(report.messages, std::vector<std::string>{"Cannot reach the speech service"});
    EXPECT_EQ(service.Engine(EngineSlot::System), nullptr);
    EXPECT_EQ(form->voicelist->count(), 3);
    EXPECT_EQ(form->closebitbtn->text(), "&Close");
}

TEST_F(VoiceDialogTest, TheSystemServiceConnectedAtCreationSpeaksWhenSwitchedOn)
{
    RecordingEngine* system = nullptr;
    Create([this, &system] {
        auto engine = std::make_unique<RecordingEngine>(poster);
        system = engine.get();
        return engine;
    });
    ASSERT_EQ(service.Engine(EngineSlot::System), system);
    service.SetUseSapi5(true);
    service.SpeakAndWait("ahoj");
    EXPECT_EQ(system->SpokenTexts(), std::vector<std::string>{"ahoj"});
}

TEST_F(VoiceDialogTest, OkSavesThePickedVoiceAndSaysSo)
{
    Create();
    Open([this] {
        // Opening: the window's name, then the list's label, role and voice.
        ASSERT_TRUE(QTest::qWaitFor([this] { return embedded->SpokenTexts().size() >= 2; }));
        QTest::qWait(50);
        const auto spoken = embedded->SpokenTexts();
        EXPECT_EQ(spoken[0], "Voice settings, dialog");
        EXPECT_EQ(spoken[1], "Voices, list, Jakub");
        // The list's own focus on opening does not say it again.
        EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "Voices, list, Jakub"), 1);
        testing::SendKey(form->voicelist, Qt::Key_Up);
        EXPECT_EQ(embedded->SpokenTexts().back(), "Czech");
        EXPECT_EQ(embedded->Commands()[embedded->Commands().size() - 2].kind, Kind::Reset);
        form->vyberhlasbitbtn->click();
    });
    EXPECT_EQ(configuration.ReadString("Voice", "person", ""), "Czech");
    EXPECT_EQ(embedded->SpokenTexts().back(), "Voice selected.");
    EXPECT_TRUE(messages.empty());
}

TEST_F(VoiceDialogTest, CancelKeepsTheInjectedValuesSpeaksTheMainCaptionAndWritesNothing)
{
    Create();
    ASSERT_TRUE(form->SwitchVoiceOn());
    const std::string before = ReadBytes(configuration.Path());
    Open([this] {
        testing::SendKey(form->voicelist, Qt::Key_Down);
        form->volumetb->setFocus();
        form->volumetb->setValue(128);
        EXPECT_EQ(embedded->SpokenTexts().back(), "128");
        form->speedtb->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return embedded->SpokenTexts().back() == "Speed, slider, 175"; }));
        form->speedtb->setValue(300);
        EXPECT_EQ(embedded->SpokenTexts().back(), "300");
        form->closebitbtn->click();
    });
    EXPECT_EQ(embedded->SpokenTexts().back(), "orbela - Orbela Basic Interpreter");
    EXPECT_EQ(ReadBytes(configuration.Path()), before);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Speed), 300u);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Volume), 0x80008000u);
    EXPECT_EQ(Current(), "English (Great Britain)");

    // The next load restores the configured voice and values.
    form->LoadVoiceSettings();
    EXPECT_EQ(Current(), "Jakub");
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Speed), 175u);
    EXPECT_EQ(form->volumetb->value(), 255);
}

TEST_F(VoiceDialogTest, OpeningWithVoiceOffOnlySaysThatVoiceIsOff)
{
    state.voiceallowed = false;
    Create();
    form->ShowVoiceSettings("caption");
    EXPECT_EQ(messages, std::vector<QString>{"The voice is turned off. You can turn it on in the Sounds dialog, menu Settings"});
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(embedded->SpokenTexts().empty());
}

TEST_F(VoiceDialogTest, WithoutVoicesTheDialogSaysSoOnceAndSelectsNothing)
{
    embedded->SetVoices({});
    Create();
    EXPECT_EQ(form->voicelist->count(), 0);
    Open([this] { form->closebitbtn->click(); });
    EXPECT_EQ(messages, std::vector<QString>{"Can't allow voice, no voices are available"});
    EXPECT_FALSE(service.Flags().engineready);
    EXPECT_FALSE(form->speedtb->isEnabled());
    for (const auto& command : embedded->Commands())
        EXPECT_NE(command.kind, Kind::SelectVoice);
}

} // namespace
} // namespace orbela
