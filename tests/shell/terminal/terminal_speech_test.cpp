// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal front-end's speech on a recording engine: the configured
// voice and values, the missing voice, the engine switch, the log, and the
// event queue that its waits block on; and its command-line options.

#include "shell/terminal/terminal_speech.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "text/error.h"
#include "runtime/runtime_state.h"
#include "settings/ini_file.h"
#include "speech/recording_engine.h"
#include "speech/speech_log.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using Kind = RecordingEngine::Command::Kind;

class TerminalSpeechTest : public ::testing::Test {
protected:
    TerminalSpeechTest()
    {
        state.voiceallowed = true;
        state.language = 2000;
    }

    TerminalSpeechEngines Engines(bool withSystem = false)
    {
        TerminalSpeechEngines engines;
        engines.embedded = [this](GuiThreadPoster& poster) {
            auto engine = std::make_unique<RecordingEngine>(poster);
            engine->SetVoices({{"Czech", "cs", "cs"}, {"Jakub", "jakub", "cs"}, {"English", "en", "en"}});
            engine->SetRange(SpeechParameter::Speed, {80, 450, 175});
            engine->SetRange(SpeechParameter::Pitch, {0, 100, 50});
            engine->SetRange(SpeechParameter::Volume, {0, 0xFFFFFFFF, 0xFFFFFFFF});
            embedded = engine.get();
            return engine;
        };
        if (withSystem) {
            engines.system = [this](GuiThreadPoster& poster) {
                auto engine = std::make_unique<RecordingEngine>(poster);
                system = engine.get();
                return engine;
            };
        }
        return engines;
    }

    bool Selected(const std::string& identifier) const
    {
        for (const auto& command : embedded->Commands()) {
            if (command.kind == Kind::SelectVoice)
                return command.text == identifier;
        }
        return false;
    }

    testing::TempFolder folder;
    IniFile configuration{folder / "orbela.ini"};
    RuntimeState state;
    testing::RecordingErrorReport report;
    RecordingEngine* embedded = nullptr;
    RecordingEngine* system = nullptr;
};

TEST_F(TerminalSpeechTest, TheConfiguredVoiceIsFoundWithoutRegardToCaseAndItsValuesAreClamped)
{
    configuration.WriteString("Voice", "person", "ENGLISH");
    configuration.WriteInteger("Voice", "speed", 9999);
    configuration.WriteInteger("Voice", "pitch", -3);
    configuration.WriteInteger("Voice", "volume", 128);
    TerminalSpeech speech(state, Engines());
    ASSERT_TRUE(speech.EmbeddedEngineExists());
    EXPECT_EQ(speech.ApplySettings(configuration, report), std::nullopt);
    EXPECT_TRUE(Selected("en"));
    EXPECT_TRUE(speech.Service().Flags().engineready);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Speed), 450u);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Pitch), 0u);
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Volume), 0x80008000u);

    speech.Service().SpeakAndWait("ahoj");
    EXPECT_EQ(embedded->SpokenTexts().back(), "ahoj");
    EXPECT_TRUE(report.messages.empty());
}

TEST_F(TerminalSpeechTest, WithoutAConfiguredVoiceThePreferredOneSpeaksWithTheEnginesValues)
{
    TerminalSpeech speech(state, Engines());
    EXPECT_EQ(speech.ApplySettings(configuration, report), std::nullopt);
    EXPECT_TRUE(Selected("jakub"));
    EXPECT_EQ(embedded->Parameter(SpeechParameter::Speed), 175u);
}

TEST_F(TerminalSpeechTest, AMissingVoiceGivesTheMessageThatEndsTheProgram)
{
    configuration.WriteString("Voice", "person", "Nobody");
    TerminalSpeech speech(state, Engines());
    EXPECT_EQ(speech.ApplySettings(configuration, report),
              std::optional<std::string>("Can't find the voice specified in the ini file: Nobody"));
    for (const auto& command : embedded->Commands())
        EXPECT_NE(command.kind, Kind::SelectVoice);
}

TEST_F(TerminalSpeechTest, VoiceNotAllowedKeepsTheEmbeddedEngineSilent)
{
    state.voiceallowed = false;
    TerminalSpeech speech(state, Engines());
    speech.ApplySettings(configuration, report);
    speech.Service().SpeakAndWait("ahoj");
    EXPECT_TRUE(embedded->Commands().empty());
}

TEST_F(TerminalSpeechTest, TheEngineSwitchSpeaksThroughTheSystemServiceAndTheLogRecordsIt)
{
    configuration.WriteBool("Voice", "sapi5", true);
    state.voiceallowed = false;  // the system service speaks regardless
    TerminalSpeech speech(state, Engines(/*withSystem=*/true));
    speech.Service().SetLog(std::make_unique<SpeechLog>(folder / "speech.log"));
    speech.ApplySettings(configuration, report);
    ASSERT_NE(system, nullptr);
    speech.Service().SpeakAndWait(testing::Cp("hotovo, žlutý kůň"));
    EXPECT_EQ(system->SpokenTexts(), std::vector<std::string>{"hotovo, žlutý kůň"});
    EXPECT_TRUE(embedded->Commands().empty());
    std::ifstream log(folder / "speech.log");
    std::string line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ(line, "wait: hotovo, žlutý kůň");
}

TEST_F(TerminalSpeechTest, AnUnreachableSystemServiceIsReportedAndSpeechStaysSilent)
{
    configuration.WriteBool("Voice", "sapi5", true);
    TerminalSpeechEngines engines = Engines();
    engines.system = [](GuiThreadPoster&) -> std::unique_ptr<SpeechEngine> { throw Error("no service"); };
    TerminalSpeech speech(state, std::move(engines));
    speech.ApplySettings(configuration, report);
    EXPECT_EQ(report.messages, std::vector<std::string>{"no service"});
    speech.Service().SpeakAndWait("ahoj");
    EXPECT_TRUE(embedded->Commands().empty());
}

TEST(TerminalEvents, AWaitBlocksUntilAnotherThreadPostsAndThenRunsWhatWasPosted)
{
    TerminalEvents events;
    int ran = 0;
    std::thread poster([&events, &ran] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        events.Post([&ran] { ++ran; });
    });
    const auto start = std::chrono::steady_clock::now();
    events.WaitAndProcess();
    const auto waited = std::chrono::steady_clock::now() - start;
    poster.join();
    EXPECT_EQ(ran, 1);
    EXPECT_GE(waited, std::chrono::milliseconds(40));

    // A function posted while the queue is drained runs in the next round.
    events.Post([&] { events.Post([&ran] { ran += 10; }); });
    events.ProcessPending();
    EXPECT_EQ(ran, 1);
    events.ProcessPending();
    EXPECT_EQ(ran, 11);
}

} // namespace
} // namespace orbela

namespace orbela {
namespace {

} // namespace
} // namespace orbela
