// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the winning walkthrough through the core on the virtual clock and
// reports the time per command: the cost of the runtime and the adventure
// alone, without speech or real waits.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "hosted/orbelaprog.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fakes.h"

namespace {

std::vector<std::string> WinningCommands()
{
    std::vector<std::string> commands;
    std::ifstream in(WINNING_COMMANDS);
    for (std::string line; std::getline(in, line);)
        commands.push_back(orbela::testing::Cp(line));
    return commands;
}

void BM_WinningWalkthrough(benchmark::State& state)
{
    const std::vector<std::string> commands = WinningCommands();
    if (commands.size() != 89) {
        state.SkipWithError("the walkthrough file does not hold 89 commands");
        return;
    }
    for (auto _ : state) {
        orbela::Screen screen;
        orbela::testing::ScriptedDialog dialog;
        for (const auto& command : commands)
            dialog.Confirm(command);
        orbela::testing::RecordingSpeech speech;
        orbela::VirtualClock clock;
        orbela::Runtime runtime(screen, dialog, speech, clock);
        orbela::RunKvaldor(runtime);
        if (dialog.Left() != 0) {
            state.SkipWithError("the game ended before the last command");
            return;
        }
        benchmark::DoNotOptimize(speech.spoken.data());
    }
    state.counters["per_command"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(commands.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WinningWalkthrough)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
