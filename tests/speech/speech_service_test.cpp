// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_service.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

#include "text/error.h"
#include "runtime/runtime_state.h"
#include "speech/capital_letters.h"
#include "speech/echo_timer.h"
#include "speech/recording_engine.h"
#include "support/fakes.h"
#include "support/gui_queue.h"

namespace orbela {
namespace {

using testing::Cp;
using testing::GuiQueue;
using Playback = RecordingEngine::Playback;
using Kind = RecordingEngine::Command::Kind;

class SpeechServiceTest : public ::testing::Test {
protected:
    SpeechServiceTest()
    {
        gui.SetTimeout(std::chrono::milliseconds(2000));
        state.voiceallowed = true;
        auto embeddedEngine = std::make_unique<RecordingEngine>(gui);
        embedded = embeddedEngine.get();
        service.SetEngine(EngineSlot::Embedded, std::move(embeddedEngine));
        auto systemEngine = std::make_unique<RecordingEngine>(gui);
        system = systemEngine.get();
        service.SetEngine(EngineSlot::System, std::move(systemEngine));
        EchoTones echoTones;
        echoTones.start = [this](const std::vector<double>& pitches, double waveset, double length) {
            tones.push_back({pitches, waveset, length, embedded->Commands().size() + system->Commands().size()});
            return SoundingTone{.milliseconds = static_cast<std::int32_t>(length)};
        };
        echoTones.stop = [this](const SoundingTone&) { ++tonesStopped; };
        service.SetEchoTones(std::move(echoTones), nullptr);
        std::istringstream names(Cp("66=bé\n98=malé bé\n142=velké žet\n167=paragraf\n65=á\n"));
        service.CharacterNames().Load(names, "test.eky");
    }

    void UseEmbeddedReady()
    {
        service.SetUseSapi5(false);
        service.VoiceSelected();
    }

    struct ToneCall {
        std::vector<double> pitches;
        double waveset;
        double length;
        std::size_t commandsBefore;
    };

    RuntimeState state;
    GuiQueue gui;
    SpeechService service{state, gui};
    RecordingEngine* embedded = nullptr;
    RecordingEngine* system = nullptr;
    std::vector<ToneCall> tones;
    int tonesStopped = 0;
};

// The echo's timer, fired by the test.
class ManualTimer final : public EchoTimer {
public:
    void Start(std::int32_t milliseconds, std::function<void()> elapsed) override
    {
        interval = milliseconds;
        elapsed_ = std::move(elapsed);
    }
    void Stop() override { elapsed_ = nullptr; }
    bool Armed() const { return static_cast<bool>(elapsed_); }
    void Fire()
    {
        auto elapsed = std::exchange(elapsed_, nullptr);
        ASSERT_TRUE(elapsed);
        elapsed();
    }
    std::int32_t interval = 0;

private:
    std::function<void()> elapsed_;
};

TEST(CapitalLetters, FollowTheCasePairsOfTheCodePage)
{
    const std::string pairs = Cp("áÁäÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔöÖŕŔřŘšŠťŤúÚůŮüÜýÝžŽ");
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        EXPECT_FALSE(IsCapitalLetter(pairs[i])) << testing::Utf(pairs.substr(i, 1));
        EXPECT_TRUE(IsCapitalLetter(pairs[i + 1])) << testing::Utf(pairs.substr(i + 1, 1));
        EXPECT_EQ(LowerCp1250(pairs[i + 1]), pairs[i]) << testing::Utf(pairs.substr(i + 1, 1));
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_TRUE(IsCapitalLetter(c));
        EXPECT_FALSE(IsCapitalLetter(static_cast<char>(c + 32)));
    }
    EXPECT_FALSE(IsCapitalLetter(Cp("§")[0]));
    EXPECT_FALSE(IsCapitalLetter('1'));
    // Capitals outside the list (Polish) are no capital letters here.
    EXPECT_FALSE(IsCapitalLetter(Cp("Ł")[0]));
    EXPECT_TRUE(EqualIgnoringCase(Cp("Žofie"), Cp("žOFIE")));
    EXPECT_FALSE(EqualIgnoringCase("Jakub", "Jakub "));
    EXPECT_FALSE(EqualIgnoringCase(Cp("×"), Cp("÷")));
}

TEST_F(SpeechServiceTest, CapitalToneComesBeforeTheNameOfCapitalsOnly)
{
    UseEmbeddedReady();
    service.SpeakCharacter(Utterance::FieldEcho, "B");
    ASSERT_EQ(tones.size(), 1u);
    EXPECT_EQ(tones[0].pitches, std::vector<double>{2000});
    EXPECT_EQ(tones[0].waveset, 1);
    EXPECT_EQ(tones[0].length, 20);
    EXPECT_EQ(tones[0].commandsBefore, 0u);
    EXPECT_EQ(tonesStopped, 1);
    // Each name holds the echo until the engine says it has played.
    for (const char* text : {"b", "Ž", "§"}) {
        gui.ProcessPending();
        service.SpeakCharacter(Utterance::FieldEcho, Cp(text));
    }
    EXPECT_EQ(tones.size(), 2u);
    EXPECT_EQ(embedded->SpokenTexts(),
              (std::vector<std::string>{"bé", "malé bé", "velké žet", "paragraf"}));
    EXPECT_TRUE(system->Commands().empty());
    // A longer text is spoken by the name of its first character, no tone.
    gui.ProcessPending();
    service.SpeakCharacter(Utterance::FieldEcho, "Bx");
    EXPECT_EQ(tones.size(), 2u);
    EXPECT_EQ(embedded->SpokenTexts().back(), "bé");
}

TEST_F(SpeechServiceTest, CharactersAreSilentBeforeAnEngineIsReadyOrWithoutAName)
{
    service.SpeakCharacter(Utterance::FieldEcho, "B");
    EXPECT_TRUE(tones.empty());
    EXPECT_TRUE(embedded->Commands().empty());

    UseEmbeddedReady();
    service.SpeakCharacter(Utterance::FieldEcho, "x");
    service.SpeakCharacter(Utterance::FieldEcho, std::string(1, '\0'));
    service.SpeakCharacter(Utterance::FieldEcho, "");
    EXPECT_TRUE(embedded->Commands().empty());
    // A capital without a name still gets its tone.
    service.SpeakCharacter(Utterance::FieldEcho, "Q");
    EXPECT_EQ(tones.size(), 1u);
    EXPECT_TRUE(embedded->Commands().empty());
    EXPECT_EQ(gui.Waits(), 0);
}

TEST_F(SpeechServiceTest, CharacterNamesGoToTheSystemServiceAsMarkupWithoutWaiting)
{
    system->SetPlayback(Playback::Held);
    service.SetUseSapi5(true);
    service.SpeakCharacter(Utterance::FieldEcho, "A");
    ASSERT_EQ(system->Commands().size(), 1u);
    EXPECT_EQ(system->Commands()[0].markup, SpeechMarkup::Ssml);
    EXPECT_EQ(system->Commands()[0].text, "á");
    EXPECT_EQ(gui.Waits(), 0);

    UseEmbeddedReady();
    service.SpeakCharacter(Utterance::FieldEcho, "A");
    ASSERT_EQ(embedded->Commands().size(), 1u);
    EXPECT_EQ(embedded->Commands()[0].markup, SpeechMarkup::Plain);
    // Nor does the embedded engine's echo wait: a key's echo never does.
    EXPECT_EQ(gui.Waits(), 0);
}

TEST_F(SpeechServiceTest, EchoStepsFollowOneAnotherWithoutAnyWait)
{
    ManualTimer timer;
    EchoTones echoTones;
    std::vector<std::string> heard;
    echoTones.start = [&](const std::vector<double>&, double, double length) {
        heard.push_back("tone");
        return SoundingTone{.milliseconds = static_cast<std::int32_t>(length)};
    };
    echoTones.stop = [&](const SoundingTone&) { heard.push_back("tone off"); };
    service.SetEchoTones(std::move(echoTones), &timer);
    UseEmbeddedReady();
    embedded->SetPlayback(Playback::Held);

    service.SpeakCharacter(Utterance::FieldEcho, "B");
    service.AfterEcho([&] { heard.push_back("beep"); });
    // The tone sounds for its length before the name.
    EXPECT_EQ(heard, (std::vector<std::string>{"tone"}));
    EXPECT_EQ(timer.interval, 20);
    EXPECT_TRUE(embedded->Commands().empty());
    timer.Fire();
    EXPECT_EQ(heard, (std::vector<std::string>{"tone", "tone off"}));
    EXPECT_EQ(embedded->SpokenTexts(), (std::vector<std::string>{"bé"}));
    // The beep waits for the name's end, reported by the engine.
    gui.ProcessPending();
    EXPECT_EQ(heard.size(), 2u);
    embedded->Finish();
    gui.ProcessPending();
    EXPECT_EQ(heard, (std::vector<std::string>{"tone", "tone off", "beep"}));

    // A text's end holds the steps after it as well.
    service.EchoText(Utterance::FieldEcho, Cp("slovo"));
    service.EchoTone({300, 450}, 5, 100);
    EXPECT_EQ(heard.size(), 3u);
    embedded->Finish();
    gui.ProcessPending();
    EXPECT_EQ(heard.back(), "tone");
    EXPECT_EQ(timer.interval, 100);
    timer.Fire();
    EXPECT_EQ(heard.back(), "tone off");
    EXPECT_EQ(gui.Waits(), 0);
}

TEST_F(SpeechServiceTest, StopDropsTheEchoNotYetPlayedAndSilencesItsTone)
{
    ManualTimer timer;
    EchoTones echoTones;
    int sounding = 0;
    echoTones.start = [&](const std::vector<double>&, double, double length) {
        ++sounding;
        return SoundingTone{.milliseconds = static_cast<std::int32_t>(length)};
    };
    echoTones.stop = [&](const SoundingTone&) { --sounding; };
    service.SetEchoTones(std::move(echoTones), &timer);
    UseEmbeddedReady();
    embedded->SetPlayback(Playback::Held);
    bool beeped = false;

    // The next key arrives during the capital's tone.
    service.SpeakCharacter(Utterance::FieldEcho, "B");
    service.AfterEcho([&] { beeped = true; });
    service.StopSpeech();
    EXPECT_EQ(sounding, 0);
    EXPECT_FALSE(timer.Armed());
    service.SpeakCharacter(Utterance::FieldEcho, "b");
    EXPECT_EQ(embedded->SpokenTexts(), (std::vector<std::string>{"malé bé"}));

    // ... and during a name: its reset ends the name, the beep is dropped.
    service.AfterEcho([&] { beeped = true; });
    service.StopSpeech();
    gui.ProcessPending();
    EXPECT_FALSE(beeped);
    EXPECT_EQ(embedded->Commands().back().kind, Kind::Reset);
    // The queue is free again: a new step runs at once.
    service.AfterEcho([&] { beeped = true; });
    EXPECT_TRUE(beeped);
}

TEST_F(SpeechServiceTest, SystemServiceNamesDoNotHoldTheEchoButItsTextsDo)
{
    system->SetPlayback(Playback::Held);
    service.SetUseSapi5(true);
    bool after = false;
    service.SpeakCharacter(Utterance::FieldEcho, "b");
    service.AfterEcho([&] { after = true; });
    EXPECT_TRUE(after);

    after = false;
    service.EchoText(Utterance::FieldEcho, "text");
    service.AfterEcho([&] { after = true; });
    EXPECT_TRUE(service.Flags().sapi5speaking);
    EXPECT_FALSE(after);
    system->Finish();
    gui.ProcessPending();
    EXPECT_TRUE(after);
    EXPECT_FALSE(service.Flags().sapi5speaking);
    EXPECT_EQ(gui.Waits(), 0);
}

TEST_F(SpeechServiceTest, EmptyTextReturnsAtOnceWithEitherEngine)
{
    embedded->SetPlayback(Playback::Held);
    system->SetPlayback(Playback::Held);
    service.SpeakAndWait("");
    service.SetUseSapi5(true);
    service.SpeakAndWait("");
    EXPECT_TRUE(embedded->Commands().empty());
    EXPECT_TRUE(system->Commands().empty());
    EXPECT_EQ(gui.Waits(), 0);
    EXPECT_FALSE(service.Flags().sapi5speaking);
}

TEST_F(SpeechServiceTest, StopMakesNoEngineCallWhileTheEmbeddedEngineIsQuiet)
{
    embedded->SetPlayback(Playback::Held);
    service.StopSpeech();  // engine not ready
    UseEmbeddedReady();
    service.StopSpeech();  // ready, nothing queued
    EXPECT_TRUE(embedded->Commands().empty());

    // Queued but not yet started counts as playing: a key must silence it.
    service.Speak(Utterance::PrintedLine, Cp("dlouhý text"));
    service.StopSpeech();
    ASSERT_EQ(embedded->Commands().size(), 2u);
    EXPECT_EQ(embedded->Commands()[1].kind, Kind::Reset);

    gui.ProcessPending();
    EXPECT_FALSE(service.Flags().sapi4speaking);
    service.StopSpeech();
    EXPECT_EQ(embedded->Commands().size(), 2u);

    // The system service is purged whether or not it speaks.
    service.SetUseSapi5(true);
    service.StopSpeech();
    ASSERT_EQ(system->Commands().size(), 1u);
    EXPECT_EQ(system->Commands()[0].kind, Kind::Reset);
}

TEST_F(SpeechServiceTest, TheInterfaceSpeaksThroughTheOtherEngineWhenTheChosenOneIsMissingAndStopsReachIt)
{
    // Before any voice is selected the embedded engine speaks the
    // interface with its first voice; a key must cut it all the same.
    embedded->SetPlayback(Playback::Held);
    service.SpeakInterface(Utterance::Focus, Cp("Program, nabídka"));
    service.StopSpeech();
    ASSERT_EQ(embedded->Commands().size(), 2u);
    EXPECT_EQ(embedded->Commands()[1].kind, Kind::Reset);

    // The embedded engine missing: the system service stands in, and a
    // stop silences it although it is not the engine in use.
    gui.ProcessPending();
    system->SetPlayback(Playback::Held);
    service.SetEngine(EngineSlot::Embedded, nullptr);
    ASSERT_EQ(service.InterfaceSlot(), EngineSlot::System);
    service.SpeakInterface(Utterance::Focus, Cp("Spustit, Ctrl+S"));
    EXPECT_EQ(system->SpokenTexts(), std::vector<std::string>{"Spustit, Ctrl+S"});
    service.StopSpeech();
    EXPECT_EQ(system->Commands().back().kind, Kind::Reset);

    // Chosen, the system service missing: the embedded voice stands in,
    // unless voice is not allowed.
    auto replacement = std::make_unique<RecordingEngine>(gui);
    RecordingEngine* voice = replacement.get();
    service.SetEngine(EngineSlot::Embedded, std::move(replacement));
    service.SetEngine(EngineSlot::System, nullptr);
    service.SetUseSapi5(true);
    EXPECT_EQ(service.InterfaceSlot(), EngineSlot::Embedded);
    service.SpeakInterface(Utterance::Focus, Cp("Konec"));
    EXPECT_EQ(voice->SpokenTexts(), std::vector<std::string>{"Konec"});
    state.voiceallowed = false;
    EXPECT_EQ(service.InterfaceSlot(), std::nullopt);
    service.SpeakInterface(Utterance::Focus, Cp("Nápověda"));
    EXPECT_EQ(voice->SpokenTexts().size(), 1u);
}

TEST_F(SpeechServiceTest, WaitLastsUntilItsOwnRequestHasPlayed)
{
    embedded->SetPlayback(Playback::Manual);
    service.Speak(Utterance::PrintedLine, Cp("první"));
    embedded->Start();
    // The first request has played and its stop is on its way when the
    // second is handed over; the second's audio has not started yet. The
    // wait must not end on the first one's stop.
    embedded->Finish();
    bool finishedLater = false;
    std::thread engineThread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        gui.Post([&] {
            finishedLater = true;
            embedded->Start();
            embedded->Finish();
        });
    });
    service.SpeakAndWait(Cp("druhý"));
    engineThread.join();
    EXPECT_TRUE(finishedLater);
    EXPECT_FALSE(service.Flags().sapi4speaking);
    EXPECT_EQ(embedded->SpokenTexts(), (std::vector<std::string>{"první", "druhý"}));
}

TEST_F(SpeechServiceTest, KeyDuringAWaitStopsTheSpeechAndEndsTheWait)
{
    embedded->SetPlayback(Playback::Held);
    UseEmbeddedReady();
    std::thread key([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gui.Post([&] { service.StopSpeech(); });
    });
    service.SpeakAndWait(Cp("dlouhý text"));
    key.join();
    ASSERT_EQ(embedded->Commands().size(), 2u);
    EXPECT_EQ(embedded->Commands()[1].kind, Kind::Reset);
    EXPECT_FALSE(service.Flags().sapi4speaking);

    // The same with the system service: the purge's stop clears the flag.
    system->SetPlayback(Playback::Held);
    service.SetUseSapi5(true);
    std::thread key5([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gui.Post([&] { service.StopSpeech(); });
    });
    service.SpeakAndWait(Cp("dlouhý text"));
    key5.join();
    EXPECT_FALSE(service.Flags().sapi5speaking);
    EXPECT_EQ(system->Commands().back().kind, Kind::Reset);
}

TEST_F(SpeechServiceTest, ReplacingTheEngineEndsAWaitForTheOldOne)
{
    embedded->SetPlayback(Playback::Held);
    std::thread menu([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gui.Post([&] { service.SetEngine(EngineSlot::Embedded, std::make_unique<RecordingEngine>(gui)); });
    });
    service.SpeakAndWait("text");
    menu.join();
    EXPECT_EQ(service.Engine(EngineSlot::Embedded)->ListVoices().size(), 0u);
    EXPECT_FALSE(service.Flags().sapi4speaking);
}

TEST_F(SpeechServiceTest, WhatWaitsForQuietFollowsTheLineBeingSaidByEitherEngine)
{
    // The embedded voice is saying a line when the mode changes: the line
    // ends in that voice, and only then does the announcement go out.
    embedded->SetPlayback(Playback::Manual);
    UseEmbeddedReady();
    service.Speak(Utterance::PrintedLine, Cp("řádek"));
    embedded->Start();
    std::vector<std::string> order;
    service.WhenQuiet([&] { order.push_back("announce"); });
    EXPECT_TRUE(order.empty());
    embedded->Finish();
    gui.ProcessPending();
    EXPECT_EQ(order, std::vector<std::string>{"announce"});

    // The system service's line, queued but not begun, is waited for too.
    system->SetPlayback(Playback::Manual);
    service.SetUseSapi5(true);
    service.Speak(Utterance::PrintedLine, Cp("druhý"));
    service.WhenQuiet([&] { order.push_back("second"); });
    EXPECT_EQ(order.size(), 1u);
    system->Start();
    system->Finish();
    gui.ProcessPending();
    EXPECT_EQ(order.back(), "second");

    // Quiet already: at once.
    service.WhenQuiet([&] { order.push_back("now"); });
    EXPECT_EQ(order.back(), "now");
}

TEST_F(SpeechServiceTest, ALineWaitsForTheOtherEngineToEndItsOwn)
{
    // The system service is saying a line when the embedded voice takes over.
    system->SetPlayback(Playback::Manual);
    service.SetUseSapi5(true);
    service.Speak(Utterance::PrintedLine, Cp("poslední řádek"));
    system->Start();
    UseEmbeddedReady();
    std::size_t embeddedBeforeTheEnd = 99;
    std::thread end([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gui.Post([&] {
            embeddedBeforeTheEnd = embedded->SpokenTexts().size();
            system->Finish();
        });
    });
    service.SpeakAndWait(Cp("další"));
    end.join();
    EXPECT_EQ(embeddedBeforeTheEnd, 0u);
    EXPECT_EQ(embedded->SpokenTexts(), std::vector<std::string>{"další"});
}

TEST_F(SpeechServiceTest, VoiceAllowedGovernsOnlyTheEmbeddedEngine)
{
    state.voiceallowed = false;
    service.SpeakAndWait("ahoj");
    service.Speak(Utterance::PrintedLine, "ahoj");
    EXPECT_TRUE(embedded->Commands().empty());

    service.SetUseSapi5(true);
    service.SpeakAndWait("ahoj");
    service.Speak(Utterance::PrintedLine, "");
    EXPECT_EQ(system->SpokenTexts(), (std::vector<std::string>{"ahoj", ""}));
    EXPECT_FALSE(service.Flags().sapi5speaking);
}

TEST_F(SpeechServiceTest, TextReachesTheEngineAsUtf8)
{
    service.SpeakAndWait(Cp("Příliš žluťoučký kůň"));
    service.Speak(Utterance::PrintedLine, Cp("úpěl ďábelské ódy"));
    EXPECT_EQ(embedded->SpokenTexts(), (std::vector<std::string>{"Příliš žluťoučký kůň", "úpěl ďábelské ódy"}));
    EXPECT_FALSE(service.Flags().sapi4speaking);
}

TEST_F(SpeechServiceTest, EngineFailureSurfacesAndLeavesNoFlagBehind)
{
    service.SetUseSapi5(true);
    system->FailNextSpeak("no voice");
    EXPECT_THROW(service.SpeakAndWait("text"), Error);
    EXPECT_FALSE(service.Flags().sapi5speaking);
    // The next request is not held up by the failed one.
    service.SpeakAndWait("text");
    EXPECT_EQ(system->SpokenTexts().size(), 1u);
}

TEST_F(SpeechServiceTest, LogRecordsEveryRequestHandedToAnEngine)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("speech-log-" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(path);
    service.SetLog(std::make_unique<SpeechLog>(path));
    UseEmbeddedReady();
    embedded->SetPlayback(Playback::Held);
    service.Speak(Utterance::PrintedLine, Cp("řádek\r\njedna\\dvě"));
    service.StopSpeech();
    gui.ProcessPending();
    service.StopSpeech();  // nothing plays: nothing handed over, nothing logged
    embedded->SetPlayback(Playback::Immediate);
    service.SpeakAndWait(Cp("Vítejte"));
    service.SpeakCharacter(Utterance::FieldEcho, "b");
    gui.ProcessPending();
    service.SpeakCharacter(Utterance::FieldEcho, "x");  // no name: nothing handed over
    state.voiceallowed = false;
    service.SpeakAndWait("ticho");

    std::ifstream log(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"queued: řádek\\r\\njedna\\\\dvě", "stop", "wait: Vítejte",
                                               "character: malé bé"}));
    std::filesystem::remove(path);
}

TEST(SpeechLog, ReportsAFileThatCannotBeWritten)
{
    try {
        SpeechLog log("/nonexistent-folder/speech.log");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to /nonexistent-folder/speech.log");
    }
}

} // namespace
} // namespace orbela
