// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adventure's world as data: the state variables, the rooms with their
// description lines, and for every room block one ordered table of command
// tests. A reader checks a room against its table at a glance; the game
// (kvaldor_game.h) only walks these tables. Texts are UTF-8 here and are
// converted to Windows-1250 once, at first use (kvaldor_text.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orbela::kvaldor {

// The game's flags, each a BASIC number. Commands only add or subtract 1
// and tests only compare for exact equality with 0 or 1.
enum class Var : std::uint8_t {
    liquidator,
    taxifare,
    binfull,
    salami,
    cassette,
    paper,
    milkbottle,
    benchbottle,
    rum,
    doghungry,
    drunkexamined,
    catangry,
    mask,
    ladder,
    pickaxe,
    diskette,
    money,
    chestclosed,
    leaderwaiting,
    crowdsearching,
    copiersidle,
    printersidle,
    picklock,
    doorlocked,
    key,
    cable,
    cupboardclosed,
};
inline constexpr std::size_t VariableCount = 27;
using Variables = std::array<double, VariableCount>;

// The value of every variable at each game start, in the order of Var.
const Variables& StartValues();

enum class Room : std::uint8_t {
    taxi,
    policesquare,
    busstop,
    binpark,
    benchpark,
    dogsquare,
    entrance,
    corridor,
    corridorend,
    toolstore,
    garden,
    lawn,
    treetop,
    shed,
    anteroom,
    mainhall,
    crowdtable,
    printertable,
    chairrow,
    smallhall,
    emptyroom,
    powerroom,
    cupboardroom,
};
inline constexpr std::size_t RoomCount = 23;

// A block is what a room does after its description: one prompt and one
// test table. Every room has one, the bus stop two (timetable only, and the
// waiting bus).
enum class Block : std::uint8_t {
    taxi,
    policesquare,
    busstopTimetable,
    busstopBusWaiting,
    binpark,
    benchpark,
    dogsquare,
    entrance,
    corridor,
    corridorend,
    toolstore,
    garden,
    lawn,
    treetop,
    shed,
    anteroom,
    mainhall,
    crowdtable,
    printertable,
    chairrow,
    smallhall,
    emptyroom,
    powerroom,
    cupboardroom,
};
inline constexpr std::size_t BlockCount = 24;

enum class Relation : std::uint8_t { Is, IsNot };

struct Condition {
    Var var = Var::liquidator;
    Relation relation = Relation::Is;
    double value = 0;

    // Exact equality: a variable driven outside 0..1 is neither 0 nor 1.
    constexpr bool Holds(const Variables& variables) const
    {
        const bool equal = variables[static_cast<std::size_t>(var)] == value;
        return relation == Relation::Is ? equal : !equal;
    }
};

constexpr Condition Is(Var var, double value) { return {var, Relation::Is, value}; }
constexpr Condition IsNot(Var var, double value) { return {var, Relation::IsNot, value}; }

// All of up to three conditions; none means always.
class Conditions {
public:
    constexpr Conditions() = default;
    constexpr Conditions(Condition a) : items_{a}, count_(1) {}
    constexpr Conditions(Condition a, Condition b) : items_{a, b}, count_(2) {}
    constexpr Conditions(Condition a, Condition b, Condition c) : items_{a, b, c}, count_(3) {}

    constexpr bool Hold(const Variables& variables) const
    {
        for (std::size_t i = 0; i < count_; ++i)
            if (!items_[i].Holds(variables))
                return false;
        return true;
    }
    constexpr std::size_t Count() const { return count_; }
    constexpr const Condition& operator[](std::size_t i) const { return items_.at(i); }

private:
    std::array<Condition, 3> items_{};
    std::size_t count_ = 0;
};

struct Effect {
    Var var = Var::liquidator;
    int delta = 0;
};
constexpr Effect Plus(Var var) { return {var, +1}; }
constexpr Effect Minus(Var var) { return {var, -1}; }

// Up to two effects, applied together with the answer; unbounded.
class Effects {
public:
    constexpr Effects() = default;
    constexpr Effects(Effect a) : items_{a}, count_(1) {}
    constexpr Effects(Effect a, Effect b) : items_{a, b}, count_(2) {}

    constexpr void ApplyTo(Variables& variables) const
    {
        for (std::size_t i = 0; i < count_; ++i)
            variables[static_cast<std::size_t>(items_[i].var)] += items_[i].delta;
    }
    constexpr std::size_t Count() const { return count_; }

private:
    std::array<Effect, 2> items_{};
    std::size_t count_ = 0;
};

enum class Outcome : std::uint8_t { Answer, Move, Redescribe, Inventory, Death, Win };

// The printer table is described in its entry form on entering; "situace"
// chooses the form by the printers' state. Every other room has one form.
enum class DescriptionForm : std::uint8_t { Entry, Working };

enum class Death : std::uint8_t { TaxiDriver, Car, Dog, Recognised, Fuses, Gardener };

struct Test {
    std::string_view command;
    Conditions when;
    Outcome outcome = Outcome::Answer;
    Effects effects;
    std::string_view answer;  // Answer
    Room target = Room::taxi;  // Move
    DescriptionForm form = DescriptionForm::Entry;  // Redescribe
    Death death = Death::TaxiDriver;  // Death
};

constexpr Test Answer(std::string_view command, Conditions when, Effects effects, std::string_view answer)
{
    Test test;
    test.command = command;
    test.when = when;
    test.effects = effects;
    test.answer = answer;
    return test;
}
constexpr Test Move(std::string_view command, Conditions when, Room target)
{
    Test test;
    test.command = command;
    test.when = when;
    test.outcome = Outcome::Move;
    test.target = target;
    return test;
}
constexpr Test Redescribe(Conditions when = {}, DescriptionForm form = DescriptionForm::Entry)
{
    Test test;
    test.command = "situace";
    test.when = when;
    test.outcome = Outcome::Redescribe;
    test.form = form;
    return test;
}
constexpr Test Inventory()
{
    Test test;
    test.command = "inventář";
    test.outcome = Outcome::Inventory;
    return test;
}
constexpr Test Dies(std::string_view command, Conditions when, Death death)
{
    Test test;
    test.command = command;
    test.when = when;
    test.outcome = Outcome::Death;
    test.death = death;
    return test;
}
constexpr Test Wins(std::string_view command)
{
    Test test;
    test.command = command;
    test.outcome = Outcome::Win;
    return test;
}

// A description line, printed when its conditions hold.
struct DescriptionLine {
    constexpr DescriptionLine(std::string_view text, Conditions shownWhen = {}) : text(text), shownWhen(shownWhen) {}
    std::string_view text;
    Conditions shownWhen;
};

enum class Prompt : std::uint8_t { Blank, EmptyLine };

struct RoomData {
    Room room;
    std::span<const DescriptionLine> entryForm;
    std::span<const DescriptionLine> workingForm;  // empty but in the printer table
};

struct BlockData {
    Block block;
    Room room;
    // The room's first block whose conditions hold follows its description.
    Conditions heldWhen;
    Prompt prompt;
    std::span<const Test> tests;
};

const RoomData& RoomOf(Room room);
const BlockData& BlockOf(Block block);
std::span<const BlockData> Blocks();

// The block that follows the room's description in this state.
Block BlockAfterDescription(Room room, const Variables& variables);

// The first test of the block that the command line matches, or none.
// `matches` compares the line with a test's command text.
template <typename Matches>
const Test* FindTest(Block block, const Variables& variables, Matches matches)
{
    for (const Test& test : BlockOf(block).tests)
        if (matches(test.command) && test.when.Hold(variables))
            return &test;
    return nullptr;
}

// Return identifiers of the two subroutine calls, one pair per block.
std::int32_t InventoryReturn(Block block);
std::int32_t RefusalReturn(Block block);
// The block whose prompt an identifier resumes, or none.
std::optional<Block> ResumeBlock(std::int32_t identifier);

} // namespace orbela::kvaldor
