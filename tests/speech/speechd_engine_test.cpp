// SPDX-License-Identifier: GPL-3.0-or-later
// The system speech service against a private speech-dispatcher started
// for these tests, its sound going to ALSA's null device.

#include "speech/speechd/speechd_engine.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "text/error.h"
#include "runtime/runtime_state.h"
#include "speech/speech_service.h"
#include "support/fakes.h"
#include "support/gui_queue.h"

extern char** environ;

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::Cp;

std::string Utf8(const std::string& cp1250) { return testing::Utf(cp1250); }

class EventRecorder final : public SpeechEngineListener {
public:
    void AudioStart() override { events.push_back("start"); }
    void AudioStop(std::uint64_t finished) override { events.push_back("stop " + std::to_string(finished)); }
    std::vector<std::string> events;
};

class SpeechdEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = fs::temp_directory_path() / ("orbela-speechd-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        const fs::path config = folder / "conf";
        fs::copy("/etc/speech-dispatcher", config, fs::copy_options::recursive);
        std::ofstream(config / "speechd.conf", std::ios::app)
            << "\nAudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\nDefaultModule espeak-ng\n";
        const fs::path socket = folder / "speechd.sock";
        const std::vector<std::string> arguments{"speech-dispatcher", "-s", "-c", "unix_socket", "-S", socket.string(),
                                                 "-C", config.string(), "-t", "30", "-P", (folder / "pid").string(),
                                                 "-L", folder.string()};
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (posix_spawnp(&daemon, "speech-dispatcher", nullptr, nullptr, argv.data(), environ) != 0) {
            daemon = 0;
            return;
        }
        for (int i = 0; i < 200 && !fs::exists(socket); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::setenv("SPEECHD_ADDRESS", ("unix_socket:" + socket.string()).c_str(), 1);
    }

    static void TearDownTestSuite()
    {
        if (daemon > 0) {
            ::kill(daemon, SIGTERM);
            ::waitpid(daemon, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void SetUp() override
    {
        ASSERT_GT(daemon, 0) << "speech-dispatcher did not start";
        gui.SetTimeout(std::chrono::milliseconds(15000));
        auto created = std::make_unique<SpeechdEngine>(gui, SpeechdEngine::Spawn::Never);
        engine = created.get();
        service.SetEngine(EngineSlot::System, std::move(created));
        service.SetUseSapi5(true);
    }

    static inline fs::path folder;
    static inline pid_t daemon = 0;

    RuntimeState state;
    testing::GuiQueue gui;
    SpeechService service{state, gui};
    SpeechdEngine* engine = nullptr;
};

TEST_F(SpeechdEngineTest, BeginAndEndReachTheGuiThreadAndEndTheWait)
{
    service.SpeakAndWait(Cp("Dobrý den."));
    EXPECT_FALSE(service.Flags().sapi5speaking);

    EventRecorder recorder;
    engine->SetListener(&recorder);
    engine->Speak("Ahoj.", SpeechMarkup::Plain);
    engine->Speak("velké bé", SpeechMarkup::Ssml);
    while (recorder.events.size() < 4)
        gui.WaitAndProcess();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"start", "stop 2", "start", "stop 3"}));
    engine->SetListener(nullptr);
}

TEST_F(SpeechdEngineTest, PurgeEndsTheWaitAtOnce)
{
    const std::string text = Cp(
        "Stojíš na okraji temného lesa. Na sever vede úzká pěšina mezi starými duby, na jihu se táhne bažina, "
        "ze které stoupá mlha. V dálce slyšíš zvonit kostelní zvon a vítr přináší vůni kouře. Po tvé levé ruce "
        "leží převrácený vůz s rozbitým kolem a vedle něj stará truhla, zamčená na velký zámek.");
    // The key is the first message the wait handles.
    bool purged = false;
    gui.Post([&] {
        purged = true;
        service.StopSpeech();
    });
    service.SpeakAndWait(text);
    EXPECT_TRUE(purged);
    EXPECT_FALSE(service.Flags().sapi5speaking);
    // The purged message's late reports neither end nor hold up the next wait.
    service.SpeakAndWait("Ano.");
    EXPECT_FALSE(service.Flags().sapi5speaking);

    // The purge itself reports the stop, without waiting for the service
    // to confirm each message it dropped.
    EventRecorder recorder;
    engine->SetListener(&recorder);
    engine->Speak(Utf8(text), SpeechMarkup::Plain);
    engine->Speak(Utf8(text), SpeechMarkup::Plain);
    engine->Reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    gui.ProcessPending();
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.back(), "stop 4");
    engine->SetListener(nullptr);
}

TEST(SpeechdEngineAbsent, IsReportedWhenTheServiceCannotBeReached)
{
    const char* saved = std::getenv("SPEECHD_ADDRESS");
    const std::string previous = saved ? saved : "";
    ::setenv("SPEECHD_ADDRESS", "unix_socket:/nonexistent/speechd.sock", 1);
    testing::GuiQueue gui;
    EXPECT_THROW(SpeechdEngine engine(gui, SpeechdEngine::Spawn::Never), Error);
    if (saved)
        ::setenv("SPEECHD_ADDRESS", previous.c_str(), 1);
    else
        ::unsetenv("SPEECHD_ADDRESS");
}

} // namespace
} // namespace orbela
