// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays the adventure on the real runtime with a scripted dialog, recorded
// speech and a virtual clock, and keeps what a test needs to look at: the
// spoken texts interleaved with the typed lines, the screen rows ever
// shown, the waits, and the game's state at every prompt.

#include <array>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hosted/kvaldor_game.h"
#include "runtime/clock.h"
#include "runtime/input_dialog.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fakes.h"

namespace orbela::testing {

class KvaldorRun {
public:
    KvaldorRun();
    ~KvaldorRun();

    // Script lines are UTF-8; each is confirmed with OK.
    KvaldorRun& Type(std::string_view utf8Line);
    KvaldorRun& Type(std::initializer_list<std::string_view> utf8Lines);
    KvaldorRun& Type(const std::vector<std::string>& utf8Lines);
    // Closes the dialog without confirming.
    KvaldorRun& Cancel();

    // Runs the game until it returns or the script runs out.
    void Play();
    // True when the game returned by itself, false when the script ran out.
    bool Returned() const { return returned_; }

    // The dialog has been shown this many times.
    std::size_t Inputs() const { return inputs_.size(); }
    // What was spoken (UTF-8) before input 0, or between input k and k+1
    // (k counted from 1); after the last input up to the end for k = Inputs().
    std::vector<std::string> Said(std::size_t k) const;
    // As Said, without the texts made only of blanks (prompts, separators).
    std::vector<std::string> Lines(std::size_t k) const;
    // Everything spoken, in order.
    std::vector<std::string> AllSaid() const;

    struct Snapshot {
        kvaldor::Variables variables;
        bool stackEmpty;
        std::string command;  // UTF-8, as it stood when the dialog opened
        std::array<std::string, kvaldor::InventoryItemCount> carriedslots;  // Windows-1250
        std::size_t spokenBefore;
    };
    // The game's state each time the dialog opened.
    const std::vector<Snapshot>& Snapshots() const { return inputs_; }

    // Every screen row ever shown, in order, UTF-8 without trailing blanks;
    // trailing rows never written are left out.
    std::vector<std::string> ScreenLines() const;

    struct Wait {
        std::chrono::milliseconds duration;
        std::size_t spokenBefore;
    };
    const std::vector<Wait>& Waits() const { return waits_; }
    std::chrono::milliseconds Elapsed() const { return clock_.Now(); }

    kvaldor::KvaldorGame& Game() { return game_; }
    RecordingSpeech& Speech() { return speech_; }
    Screen& GetScreen() { return screen_; }

private:
    class WaitClock;
    class ScreenHistory;

    void Opened();

    Screen screen_;
    ScriptedDialog script_;
    RecordingSpeech speech_;
    VirtualClock clock_;
    std::unique_ptr<WaitClock> waitClock_;
    std::unique_ptr<ScreenHistory> history_;
    std::unique_ptr<Runtime> runtime_;
    kvaldor::KvaldorGame game_;
    std::vector<Snapshot> inputs_;
    std::vector<Wait> waits_;
    bool returned_ = false;
};

// The 89 commands that win the game from its start, UTF-8.
const std::vector<std::string>& WinningCommands();
// The first n of them.
std::vector<std::string> WinningPrefix(std::size_t n);

} // namespace orbela::testing
