// SPDX-License-Identifier: GPL-3.0-or-later
// From the output statement (Runtime::Print) to the cells on the display:
// the printed row goes through the presenter and BrlAPI to a real BRLTTY
// (started here, virtual braille driver, no screen driver), which renders
// it with its text table and sends it to the display; the clock stops when
// the display's socket has received both the row's text and its dots.
// Needs brltty (/usr/sbin/brltty); run by hand.

#include <benchmark/benchmark.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "braille/braille_presenter.h"
#include "braille/brlapi_connection.h"
#include "braille/screen_row_view.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"
#include "support/fakes.h"

namespace orbela {
namespace {

// The display's end of the virtual driver's socket, read line by line.
class DisplaySocket {
public:
    explicit DisplaySocket(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(listener_, 1) < 0)
            throw std::runtime_error("cannot listen on the display socket");
    }
    ~DisplaySocket()
    {
        if (client_ >= 0)
            close(client_);
        close(listener_);
    }
    void Accept()
    {
        pollfd watched{listener_, POLLIN, 0};
        if (poll(&watched, 1, 20000) <= 0)
            throw std::runtime_error("BRLTTY did not connect to the display");
        client_ = accept(listener_, nullptr, nullptr);
        const std::string cells = "cells 40\n";
        if (write(client_, cells.data(), cells.size()) < 0)
            throw std::runtime_error("cannot announce the cells");
    }
    // The next line BRLTTY sends; empty after 5 s without one.
    std::string ReadLine()
    {
        for (;;) {
            const std::size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return line;
            }
            pollfd watched{client_, POLLIN, 0};
            if (poll(&watched, 1, 5000) <= 0)
                return {};
            char buffer[4096];
            const ssize_t n = read(client_, buffer, sizeof buffer);
            if (n <= 0)
                return {};
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }
    // Reads until a Visual line starting with `text` and the Braille line
    // after it have arrived.
    bool AwaitRow(const std::string& text)
    {
        const std::string visual = "Visual \"" + text;
        for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) {
            if (line.rfind(visual, 0) == 0)
                return ReadLine().rfind("Braille ", 0) == 0;
        }
        return false;
    }

private:
    int listener_ = -1;
    int client_ = -1;
    std::string pending_;
};

// One connection attempt, waited for here: the window waits for it on its
// event loop instead.
bool ConnectNow(BrlapiConnection& connection)
{
    if (!connection.StartConnecting())
        return connection.Connected();
    pollfd attempt{connection.AttemptDescriptor(), POLLIN, 0};
    if (poll(&attempt, 1, 5000) != 1) {
        connection.AbandonConnecting();
        return false;
    }
    return connection.FinishConnecting();
}

void PrintToCells(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("orbela-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string socketPath = (folder / "vr.sock").string();
    DisplaySocket display(socketPath);
    const std::string api = std::to_string(150 + getpid() % 40);
    const pid_t brltty = fork();
    if (brltty == 0) {
        const std::string device = "client:" + socketPath;
        const std::string server = "auth=none,host=:" + api;
        execl("/usr/sbin/brltty", "brltty", "-n", "-b", "vr", "-d", device.c_str(), "-x", "no", "-s", "no", "-A",
              server.c_str(), "-f", "/dev/null", "-q", static_cast<char*>(nullptr));
        _exit(127);
    }
    try {
        display.Accept();
        setenv("BRLAPI_HOST", (":" + api).c_str(), 1);
        BrlapiConnection connection;
        for (int attempt = 0; attempt < 100 && !ConnectNow(connection); ++attempt)
            usleep(100000);
        if (!connection.Connected() || !connection.TakeDisplay(1))
            throw std::runtime_error("cannot reach BRLTTY's BrlAPI server");
        for (int attempt = 0; attempt < 100 && connection.Cells() == 0; ++attempt)
            usleep(100000);

        Screen screen;
        testing::ScriptedDialog dialog;
        SilentSpeech speech;
        VirtualClock clock;
        Runtime runtime(screen, dialog, speech, clock);
        BraillePresenter presenter(connection);
        ScreenRowView view(screen, [&presenter] { presenter.Refresh(); });
        presenter.SetView(&view);
        runtime.SetPrintListener(&view);

        long printed = 0;
        for (auto _ : state) {
            // Each row differs, so each one is written.
            const std::string text = "row " + std::to_string(++printed) + " of the screen";
            runtime.Print(text, static_cast<std::uint8_t>(LineEnd::NewLine));
            if (!display.AwaitRow(text)) {
                state.SkipWithError("the row did not reach the display");
                break;
            }
        }
        runtime.SetPrintListener(nullptr);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    kill(brltty, SIGTERM);
    waitpid(brltty, nullptr, 0);
    std::filesystem::remove_all(folder);
}
BENCHMARK(PrintToCells)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace orbela

BENCHMARK_MAIN();
