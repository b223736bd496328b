// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's speech: the embedded engine made at start, the engine
// switch, the character names and Program/Start speaking through the
// speech service into the speech log.

#include <gtest/gtest.h>

#include <QAction>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "runtime/clock.h"
#include "text/error.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "settings/ini_file.h"
#include "shell/qt/process_end.h"
#include "shell/qt/qt_message_pump.h"
#include "shell/qt/tform1.h"
#include "speech/qt/qt_gui_thread_poster.h"
#include "speech/qt/tform4.h"
#include "speech/recording_engine.h"
#include "speech/speech_log.h"
#include "speech/speech_service.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using Kind = RecordingEngine::Command::Kind;

class CountingEnd final : public ProcessEnd {
public:
    void EndAtOnce() override { ++calls; }
    int calls = 0;
};

class DesktopSpeechTest : public ::testing::Test {
protected:
    DesktopSpeechTest() : previousDirectory_(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder.Path());
        for (const char* file : {"czech.eky", "english.eky"})
            std::filesystem::copy_file(std::filesystem::path(ORBELA_PROGRAM_DIR) / file, folder / file);
        runtime.SetSpeech(service);
    }
    ~DesktopSpeechTest() override
    {
        form1.reset();
        std::filesystem::current_path(previousDirectory_);
    }

    // The windows up to the voice dialog, as the program makes them, with a
    // recording engine standing in for the embedded one (or none).
    void Create(bool withEngine = true)
    {
        form1.reset();
        embedded = nullptr;
        TForm1Services services;
        services.speech = &service;
        if (withEngine) {
            services.embeddedEngine = [this] {
                auto engine = std::make_unique<RecordingEngine>(poster);
                engine->SetVoices({{"Czech", "cs", "cs"}, {"English", "en", "en"}});
                engine->SetRange(SpeechParameter::Speed, {80, 450, 175});
                embedded = engine.get();
                return engine;
            };
        }
        form1 = std::make_unique<TForm1>(runtime, configuration, report, end, folder / "orbela", services);
        form4 = new TForm4({&service, &configuration, &runtime.State(), &report, {}, [this] { ++end.calls; }},
                           form1.get());
        form1->SetVoiceDialog(form4);
    }

    std::vector<std::string> LogLines() const
    {
        std::ifstream in(folder / "speech.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    testing::TempFolder folder;
    Screen screen;
    testing::ScriptedDialog dialog;
    testing::RecordingSpeech unused;
    VirtualClock clock;
    Runtime runtime{screen, dialog, unused, clock};
    IniFile configuration{folder / "orbela.ini"};
    testing::RecordingErrorReport report;
    CountingEnd end;
    QtGuiThreadPoster poster;
    QtMessagePump pump;
    SpeechService service{runtime.State(), pump};
    RecordingEngine* embedded = nullptr;
    std::unique_ptr<TForm1> form1;
    TForm4* form4 = nullptr;

private:
    std::filesystem::path previousDirectory_;
};

TEST_F(DesktopSpeechTest, StartSelectsAVoiceSpeaksTheIntroductionAndTheLogRecordsIt)
{
    service.SetLog(std::make_unique<SpeechLog>(folder / "speech.log"));
    Create();
    ASSERT_NE(embedded, nullptr);
    // A first start with a working engine allows voice.
    EXPECT_TRUE(configuration.ReadBool("voice", "voiceallowed", false));
    EXPECT_TRUE(form1->Voicesubmenu->isEnabled());
    EXPECT_TRUE(form1->usesapi5submenu->isEnabled());
    EXPECT_FALSE(service.Flags().engineready);

    // The script has no answer: the run ends at the first prompt.
    form1->Startsubmenu->trigger();
    ASSERT_EQ(report.messages, std::vector<std::string>{"the dialog script has no answer left"});

    const std::string firstLine = "právě začíná fantastická česká textová hra kvaldor.";
    const auto spoken = embedded->SpokenTexts();
    ASSERT_FALSE(spoken.empty());
    EXPECT_EQ(spoken.front(), firstLine);
    const auto lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "wait: " + firstLine);
    EXPECT_EQ(lines.size(), spoken.size());

    // Before the run the picked voice was selected and saved.
    ASSERT_FALSE(embedded->Commands().empty());
    EXPECT_EQ(embedded->Commands().front().kind, Kind::SelectVoice);
    EXPECT_EQ(embedded->Commands().front().text, "cs");
    EXPECT_TRUE(service.Flags().engineready);
    EXPECT_EQ(configuration.ReadString("Voice", "person", ""), "Czech");
    EXPECT_EQ(configuration.ReadInteger("Voice", "speed", 0), 175);
    EXPECT_EQ(end.calls, 0);
}

TEST_F(DesktopSpeechTest, WithoutAnEngineTheFirstStartForbidsVoiceAndTheRunIsSilent)
{
    service.SetLog(std::make_unique<SpeechLog>(folder / "speech.log"));
    Create(/*withEngine=*/false);
    EXPECT_FALSE(configuration.ReadBool("voice", "voiceallowed", true));
    EXPECT_FALSE(form1->Voicesubmenu->isEnabled());
    form1->Startsubmenu->trigger();
    EXPECT_EQ(report.messages, std::vector<std::string>{"the dialog script has no answer left"});
    EXPECT_EQ(end.calls, 0);
    // The introduction was printed, and nothing of it spoken.
    EXPECT_NE(screen.Text().find_first_not_of(" \r\n"), std::string::npos);
    EXPECT_TRUE(LogLines().empty());

    // A voice configured while an engine worked does not end a later start
    // that has none: there is nothing that could speak it.
    configuration.WriteBool("voice", "voiceallowed", true);
    configuration.WriteString("Voice", "person", "Czech");
    report.messages.clear();
    Create(/*withEngine=*/false);
    form1->Startsubmenu->trigger();
    EXPECT_EQ(report.messages, std::vector<std::string>{"the dialog script has no answer left"});
    EXPECT_EQ(end.calls, 0);
}

TEST_F(DesktopSpeechTest, AnEngineThatFindsNoSoundDeviceDoesNotForbidVoiceForGood)
{
    // Built in, but the sound device does not open at this first start.
    TForm1Services services;
    services.speech = &service;
    services.embeddedEngine = []() -> std::unique_ptr<SpeechEngine> { throw Error("no sound device"); };
    form1 = std::make_unique<TForm1>(runtime, configuration, report, end, folder / "orbela", services);
    EXPECT_EQ(service.Engine(EngineSlot::Embedded), nullptr);
    // The next start with a sound card speaks.
    EXPECT_TRUE(configuration.ReadBool("voice", "voiceallowed", false));
}

TEST_F(DesktopSpeechTest, TheEngineSwitchSetsTheFlagsTheVoiceItemAndTheConfiguration)
{
    Create();
    form1->usesapi5submenu->trigger();
    EXPECT_TRUE(form1->usesapi5submenu->isChecked());
    EXPECT_TRUE(service.Flags().usesapi5);
    EXPECT_TRUE(service.Flags().engineready);
    EXPECT_FALSE(form1->Voicesubmenu->isEnabled());
    EXPECT_TRUE(configuration.ReadBool("Voice", "sapi5", false));

    // The next start takes the switch from the configuration.
    Create();
    EXPECT_TRUE(form1->usesapi5submenu->isChecked());
    EXPECT_TRUE(service.Flags().usesapi5);
    EXPECT_TRUE(service.Flags().engineready);
    EXPECT_FALSE(form1->Voicesubmenu->isEnabled());

    form1->usesapi5submenu->trigger();
    EXPECT_FALSE(service.Flags().usesapi5);
    EXPECT_FALSE(service.Flags().engineready);
    EXPECT_TRUE(form1->Voicesubmenu->isEnabled());
    EXPECT_FALSE(configuration.ReadBool("Voice", "sapi5", true));
    EXPECT_EQ(report.messages, std::vector<std::string>{});
}

TEST_F(DesktopSpeechTest, TheCharacterNamesOfTheLanguageAreLoadedAndAMissingFileIsReported)
{
    configuration.WriteInteger("environment", "language", 2000);
    Create();
    EXPECT_EQ(service.CharacterNames().NameOf(' '), "space");
    EXPECT_TRUE(report.messages.empty());

    std::filesystem::remove(folder / "english.eky");
    service.CharacterNames().Clear();
    Create();
    // The message names the file and both places searched: the current
    // directory and the data folder an installed program would have.
    const std::string searched = folder.Path().string() + ", " + (folder.Path().parent_path() / "share/orbela").string();
    EXPECT_EQ(report.messages, std::vector<std::string>{"File not found: english.eky (searched: " + searched + ")"});
    EXPECT_EQ(service.CharacterNames().Filled(), 0u);
}

} // namespace
} // namespace orbela
