// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's sound steps: the device and "sounds.dat" once shown,
// the Timer as the tone statement's, the sound objects freed at the end,
// and the Settings/Sounds item.

#include "shell/qt/tform1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "i18n/qt/qt_text.h"
#include "recording_audio_device.h"
#include "runtime/clock.h"
#include "text/error.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "settings/ini_file.h"
#include "shell/qt/process_end.h"
#include "shell/qt/qt_message_pump.h"
#include "sound/qt/tform5.h"
#include "speech/speech_service.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::RecordingAudioDevice;
using testing::TempFolder;

class CountingEnd final : public ProcessEnd {
public:
    void EndAtOnce() override { ++calls; }
    int calls = 0;
};

// Hands the window a device whose records outlive it, and notes how many
// sources were still alive when the window let the device go.
class WatchedDevice final : public AudioDevice {
public:
    WatchedDevice(RecordingAudioDevice& inner, std::size_t& aliveAtClose) : inner_(inner), aliveAtClose_(aliveAtClose) {}
    ~WatchedDevice() override { aliveAtClose_ = inner_.AliveSources(); }
    std::unique_ptr<AudioBuffer> CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override
    {
        return inner_.CreateBuffer(format, samples);
    }

private:
    RecordingAudioDevice& inner_;
    std::size_t& aliveAtClose_;
};

class MainWindowSoundTest : public ::testing::Test {
protected:
    MainWindowSoundTest() : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder.Path());
        SetMessageBoxHook([this](const QString& text, MessageKind) { messages.push_back(text); });
        services.soundDevice = [this] { return std::make_unique<WatchedDevice>(device, aliveAtClose); };
    }
    ~MainWindowSoundTest() override
    {
        form1.reset();
        SetMessageBoxHook({});
        std::filesystem::current_path(previous);
    }

    void PlaceSoundsFile() { std::filesystem::copy_file(ORBELA_SOUNDS_DAT, folder / "sounds.dat"); }
    void Create()
    {
        form1 = std::make_unique<TForm1>(runtime, configuration, report, end, folder / "orbela", services);
    }
    // The window as the desktop leaves it once shown: with the start-up
    // steps left for then done.
    void CreateShown()
    {
        Create();
        form1->FinishStartup();
    }
    std::size_t PlayingLooped() const
    {
        std::size_t count = 0;
        for (const auto& source : device.sources)
            count += source->alive && source->playing && source->mode == PlayMode::Looping ? 1 : 0;
        return count;
    }

    TempFolder folder;
    std::filesystem::path previous;
    IniFile configuration{folder / "orbela.ini"};
    Screen screen;
    testing::ScriptedDialog input;
    testing::RecordingSpeech speech;
    VirtualClock clock;
    Runtime runtime{screen, input, speech, clock};
    testing::RecordingErrorReport report;
    CountingEnd end;
    RecordingAudioDevice device;
    std::size_t aliveAtClose = 0;
    TForm1Services services;
    std::vector<QString> messages;
    std::unique_ptr<TForm1> form1;
};

TEST_F(MainWindowSoundTest, AMissingSoundsFileIsToldAndEndsTheProcess)
{
    CreateShown();
    const std::string searched = folder.Path().string() + ", " + (folder.Path().parent_path() / "share/orbela").string();
    EXPECT_EQ(messages, (std::vector<QString>{LanguageText(1000, InterfaceString::CannotFindFile) + " sounds.dat (searched: " +
                                              QString::fromStdString(searched) + ")"}));
    EXPECT_EQ(end.calls, 1);
    EXPECT_TRUE(report.messages.empty());
}

TEST_F(MainWindowSoundTest, WithoutAnAudioDeviceTheProgramSaysSoOnceAndRunsSilently)
{
    PlaceSoundsFile();
    services.soundDevice = []() -> std::unique_ptr<AudioDevice> {
        throw Error("DirectSound cannot be initialized: no output");
    };
    CreateShown();
    EXPECT_EQ(report.messages, (std::vector<std::string>{"DirectSound cannot be initialized: no output"}));
    EXPECT_EQ(end.calls, 0);
    EXPECT_TRUE(messages.empty());
    // The list is there without a device: names are known, nothing sounds.
    runtime.Beep();
    runtime.Click(16);
    EXPECT_THROW(runtime.Click(3), Error);
}

TEST_F(MainWindowSoundTest, AMalformedSoundsFileIsReportedAndTheProgramGoesOn)
{
    testing::WriteBytes(folder / "sounds.dat", "TPF1 not a sound list");
    CreateShown();
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_NE(report.messages[0].find("Invalid stream format"), std::string::npos) << report.messages[0];
    EXPECT_EQ(end.calls, 0);
}

TEST_F(MainWindowSoundTest, TheToneWaitsForTheWindowsTimerAndStopsItsChord)
{
    PlaceSoundsFile();
    CreateShown();
    ASSERT_TRUE(report.messages.empty());
    QtMessagePump pump;
    runtime.SetMessagePump(pump);
    std::size_t loopingDuringTheTone = 0;
    // A watcher on the loop the tone pumps.
    QTimer::singleShot(5, [&] { loopingDuringTheTone = PlayingLooped(); });
    runtime.Tone({300, 450}, 5, 40);
    EXPECT_EQ(loopingDuringTheTone, 2u);
    EXPECT_EQ(PlayingLooped(), 0u);
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_FALSE(form1->Timer->isActive());
}

TEST_F(MainWindowSoundTest, ClosingFreesTheListBeforeTheDeviceAndDetachesTheStatements)
{
    PlaceSoundsFile();
    CreateShown();
    ASSERT_GT(device.AliveSources(), 0u);
    aliveAtClose = 99;
    form1->close();
    EXPECT_EQ(aliveAtClose, 0u);
    // Nothing is left to play on, and nothing fails.
    runtime.Beep();
    runtime.Tone({300}, 1, 10);
    EXPECT_EQ(device.AliveSources(), 0u);
}

TEST_F(MainWindowSoundTest, TheSoundsItemIsEnabledWithItsDialogAndOpensIt)
{
    PlaceSoundsFile();
    CreateShown();
    EXPECT_FALSE(form1->soundssubmenu->isEnabled());
    QtMessagePump pump;
    SpeechService speechService(runtime.State(), pump);
    TForm5::VoiceFacts voiceFacts{
        [&speechService] { return speechService.Engine(EngineSlot::Embedded) != nullptr; },
        [&speechService] { return speechService.Flags().usesapi5; }};
    auto* form5 = new TForm5(runtime, configuration, std::move(voiceFacts), form1.get());
    form1->SetSoundDialog(form5);
    EXPECT_TRUE(form1->soundssubmenu->isEnabled());
    EXPECT_EQ(form1->soundssubmenu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_EQ(form1->soundssubmenu->text(), LanguageText(1000, InterfaceString::SoundsItem) + "...");

    bool shown = false;
    testing::WhenModal(form5, [&] {
        shown = true;
        form5->reject();
    });
    form1->soundssubmenu->trigger();
    EXPECT_TRUE(shown);
}

// The window shows before the sounds load; the first command that sounds
// loads them when the window has not yet, and they load once.
TEST_F(MainWindowSoundTest, TheSoundsLoadAfterTheWindowOnceWhateverAsksFirst)
{
    PlaceSoundsFile();
    Create();
    EXPECT_EQ(device.AliveSources(), 0u);
    form1->soundssubmenuClick();
    const std::size_t loaded = device.AliveSources();
    EXPECT_GT(loaded, 0u);
    form1->FinishStartup();
    form1->soundssubmenuClick();
    EXPECT_EQ(device.AliveSources(), loaded);
    EXPECT_TRUE(report.messages.empty());
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace orbela
