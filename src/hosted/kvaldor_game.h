// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the adventure: the introduction, then the room cycle over the
// tables of kvaldor_world.h until the game is won or lost and not played
// again. The two subroutines (inventory listing, refusal) are reached
// through the return stack, as in the line-numbered program the adventure
// was written as: a call pushes the calling block's return identifier and
// the subroutines' common tail pops it to find the prompt to resume.

#include <array>
#include <string>
#include <string_view>

#include "hosted/kvaldor_texts.h"
#include "hosted/kvaldor_world.h"
#include "hosted/stack.h"

namespace orbela {

class Runtime;

namespace kvaldor {

class KvaldorGame {
public:
    explicit KvaldorGame(Runtime& runtime) : runtime_(runtime) {}
    KvaldorGame(const KvaldorGame&) = delete;
    KvaldorGame& operator=(const KvaldorGame&) = delete;

    // Plays one whole run; returns when the game is over. The text
    // variables are released on the way out, however it is left.
    void Run();

    // The state as it stands, for an observer of a run in progress (the
    // input statements call out while the game waits for a line).
    const Variables& StateVariables() const { return variables_; }
    const std::string& Command() const { return command_; }
    const std::array<std::string, InventoryItemCount>& CarriedSlots() const { return carriedslots_; }
    bool ReturnStackEmpty() const { return stack_.Empty(); }

private:
    enum class StepKind { Describe, Prompt, ListInventory, Refuse, ReturnFromSubroutine, Die, Leave };
    // Where the procedure goes next.
    struct Step {
        StepKind kind = StepKind::Leave;
        Room room = Room::taxi;  // Describe
        DescriptionForm form = DescriptionForm::Entry;  // Describe
        Block block = Block::taxi;  // Prompt
        std::string_view lastText;  // ReturnFromSubroutine
        Death death = Death::TaxiDriver;  // Die
    };
    static Step Describe(Room room, DescriptionForm form = DescriptionForm::Entry);
    static Step PromptAt(Block block);

    void ClearState();
    void ReleaseTexts();
    void Introduction();
    void StartGame();

    Step Perform(const Step& step);
    Step DescribeRoom(Room room, DescriptionForm form);
    Step PromptAndDispatch(Block block);
    Step Dispatch(Block block);
    Step ListInventory();
    Step ReturnFromSubroutine(std::string_view lastText);
    Step Die(Death death);
    Step Win();

    void Print(std::string_view utf8);

    Runtime& runtime_;
    Variables variables_{};
    std::string command_;
    std::array<std::string, InventoryItemCount> carriedslots_;
    double replayanswer_ = 0;
    ReturnStack stack_;
};

} // namespace kvaldor
} // namespace orbela
