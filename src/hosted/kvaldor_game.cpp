// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/kvaldor_game.h"

#include <chrono>

#include "hosted/kvaldor_text.h"
#include "runtime/runtime.h"

namespace orbela::kvaldor {

namespace {

constexpr std::chrono::milliseconds AfterIntroduction{5000};
constexpr std::chrono::milliseconds AfterStory{10000};

double& Value(Variables& variables, Var var)
{
    return variables[static_cast<std::size_t>(var)];
}

} // namespace

KvaldorGame::Step KvaldorGame::Describe(Room room, DescriptionForm form)
{
    Step step;
    step.kind = StepKind::Describe;
    step.room = room;
    step.form = form;
    return step;
}

KvaldorGame::Step KvaldorGame::PromptAt(Block block)
{
    Step step;
    step.kind = StepKind::Prompt;
    step.block = block;
    return step;
}

void KvaldorGame::Run()
{
    struct Release {
        KvaldorGame& game;
        ~Release() { game.ReleaseTexts(); }
    } release{*this};

    ClearState();
    Introduction();
    StartGame();
    Step step = Describe(Room::taxi);
    while (step.kind != StepKind::Leave)
        step = Perform(step);
}

// As a fresh BASIC run: every number 0, every text empty, the stack empty.
void KvaldorGame::ClearState()
{
    variables_.fill(0);
    replayanswer_ = 0;
    ReleaseTexts();
    stack_.Initialise();
}

void KvaldorGame::ReleaseTexts()
{
    std::string().swap(command_);
    for (auto& slot : carriedslots_)
        std::string().swap(slot);
}

void KvaldorGame::Introduction()
{
    for (std::string_view line : IntroductionLines())
        Print(line);
    runtime_.Sleep(AfterIntroduction);
    Print(StoryTitle);
    for (std::string_view paragraph : StoryParagraphs())
        Print(paragraph);
    runtime_.Sleep(AfterStory);
}

// Only the flags start afresh; the texts keep what they hold.
void KvaldorGame::StartGame()
{
    variables_ = StartValues();
}

KvaldorGame::Step KvaldorGame::Perform(const Step& step)
{
    switch (step.kind) {
    case StepKind::Describe:
        return DescribeRoom(step.room, step.form);
    case StepKind::Prompt:
        return PromptAndDispatch(step.block);
    case StepKind::ListInventory:
        return ListInventory();
    case StepKind::Refuse:
        return ReturnFromSubroutine(Refusal);
    case StepKind::ReturnFromSubroutine:
        return ReturnFromSubroutine(step.lastText);
    case StepKind::Die:
        return Die(step.death);
    case StepKind::Leave:
        break;
    }
    return {};
}

KvaldorGame::Step KvaldorGame::DescribeRoom(Room room, DescriptionForm form)
{
    const RoomData& data = RoomOf(room);
    const auto lines = form == DescriptionForm::Working && !data.workingForm.empty() ? data.workingForm : data.entryForm;
    for (const DescriptionLine& line : lines)
        if (line.shownWhen.Hold(variables_))
            Print(line.text);
    return PromptAt(BlockAfterDescription(room, variables_));
}

KvaldorGame::Step KvaldorGame::PromptAndDispatch(Block block)
{
    Print(BlockOf(block).prompt == Prompt::Blank ? PromptBlank : std::string_view());
    runtime_.InputText(command_, InputMode::Fresh);
    return Dispatch(block);
}

KvaldorGame::Step KvaldorGame::Dispatch(Block block)
{
    const Test* test = FindTest(block, variables_, [this](std::string_view text) { return command_ == Cp1250(text); });
    if (!test) {
        stack_.Push(RefusalReturn(block));
        Step step;
        step.kind = StepKind::Refuse;
        return step;
    }
    switch (test->outcome) {
    case Outcome::Answer:
        test->effects.ApplyTo(variables_);
        Print(test->answer);
        return PromptAt(block);
    case Outcome::Move:
        return Describe(test->target);
    case Outcome::Redescribe:
        return Describe(BlockOf(block).room, test->form);
    case Outcome::Inventory: {
        stack_.Push(InventoryReturn(block));
        Step step;
        step.kind = StepKind::ListInventory;
        return step;
    }
    case Outcome::Death: {
        Step step;
        step.kind = StepKind::Die;
        step.death = test->death;
        return step;
    }
    case Outcome::Win:
        return Win();
    }
    return {};
}

KvaldorGame::Step KvaldorGame::ListInventory()
{
    const auto items = InventoryItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double carried = Value(variables_, items[i].var);
        // A flag outside 0..1 leaves its slot as it was.
        if (carried == 1)
            carriedslots_[i] = Cp1250(items[i].word);
        else if (carried == 0)
            carriedslots_[i] = Cp1250(items[i].absent);
    }
    runtime_.Print(Cp1250(CarryingHeading), LineEnd::Stay);
    for (std::size_t i = 0; i < carriedslots_.size(); ++i) {
        runtime_.Print(carriedslots_[i], LineEnd::Stay);
        if (i + 1 < carriedslots_.size())
            runtime_.Print(Cp1250(" "), LineEnd::Stay);
    }
    Step step;
    step.kind = StepKind::ReturnFromSubroutine;
    step.lastText = " ";
    return step;
}

// The subroutines' common tail.
KvaldorGame::Step KvaldorGame::ReturnFromSubroutine(std::string_view lastText)
{
    Print(lastText);
    const std::optional<Block> block = ResumeBlock(stack_.Pop());
    if (!block)
        return {};
    return PromptAt(*block);
}

KvaldorGame::Step KvaldorGame::Die(Death death)
{
    for (std::string_view line : DeathLines(death))
        Print(line);
    Print(PlayAgainQuestion);
    runtime_.InputNumber(replayanswer_, InputMode::Fresh);
    if (replayanswer_ == 0) {
        StartGame();
        return Describe(Room::taxi);
    }
    if (replayanswer_ > 0)
        Print(GameOver);
    return {};
}

KvaldorGame::Step KvaldorGame::Win()
{
    for (std::string_view line : WinLines())
        Print(line);
    return {};
}

void KvaldorGame::Print(std::string_view utf8)
{
    runtime_.Print(Cp1250(utf8), LineEnd::NewLine);
}

} // namespace orbela::kvaldor
