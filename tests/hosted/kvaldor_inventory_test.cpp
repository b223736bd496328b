// SPDX-License-Identifier: GPL-3.0-or-later
// The inventory listing: one screen line built from the item slots.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "kvaldor_run.h"
#include "kvaldor_test_util.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using kvaldor::Var;

std::vector<std::string> Blanks(std::size_t n)
{
    return std::vector<std::string>(n, " ");
}

TEST(KvaldorInventory, AtTheStartListsTheLiquidatorAndTheMoneyOnOneLine)
{
    KvaldorRun run;
    run.Type("inventář");
    run.Play();
    // The salami's empty slot says nothing; every other slot and every
    // separator is a blank; the last blank ends the line. Then the prompt.
    std::vector<std::string> expected = {"neseš sebou: ", "likvidátor", " ", "peníze", " ", " "};
    expected = Joined(expected, Blanks(12 * 2));
    expected.push_back(" ");
    EXPECT_EQ(run.Said(1), expected);

    const auto lines = run.ScreenLines();
    ASSERT_GE(lines.size(), 2u);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 2], "neseš sebou: likvidátor peníze");
    // The taxi is not described again after the listing: above the listing
    // are the blank prompt's row and the exit line.
    EXPECT_EQ(lines[lines.size() - 3], "");
    EXPECT_EQ(lines[lines.size() - 4], TaxiDescription[1]);
    EXPECT_TRUE(run.Snapshots().back().stackEmpty);

    const auto& slots = run.Snapshots().back().carriedslots;
    EXPECT_EQ(slots[0], Cp("likvidátor"));
    EXPECT_EQ(slots[1], Cp("peníze"));
    EXPECT_EQ(slots[2], "");
    EXPECT_EQ(slots[3], " ");
}

TEST(KvaldorInventory, ItemsGivenAwayLeaveTheListing)
{
    KvaldorRun run;
    // Pay the driver, take the bin's three things, feed the salami to the dog.
    run.Type(WinningPrefix(7)).Type("inventář").Type({"j", "v", "polož salám", "inventář"});
    run.Play();
    auto lines = run.Lines(8);
    EXPECT_THAT(lines, ElementsAre("neseš sebou: ", "likvidátor", "salám", "kazetu", "arch papíru"));
    EXPECT_THAT(run.Lines(12), ElementsAre("neseš sebou: ", "likvidátor", "kazetu", "arch papíru"));
    // Money and salami gone: two blanks for the money's slot and separator,
    // nothing for the salami's slot, one separator after it.
    const auto screen = run.ScreenLines();
    ASSERT_GE(screen.size(), 2u);
    EXPECT_EQ(screen[screen.size() - 2], "neseš sebou: likvidátor    kazetu arch papíru");
}

TEST(KvaldorInventory, AfterARestartItemsCarriedBeforeAreGone)
{
    KvaldorRun run;
    // Take the salami, list it, die at the dog, start again, list.
    run.Type({"polož peníze", "v", "s", "prozkoumej koš", "vezmi salám", "inventář", "j", "v", "v", "0", "inventář"});
    run.Play();
    EXPECT_THAT(run.Lines(6), ElementsAre("neseš sebou: ", "likvidátor", "salám"));
    EXPECT_THAT(run.Lines(11), ElementsAre("neseš sebou: ", "likvidátor", "peníze"));
    EXPECT_EQ(run.Snapshots()[6].carriedslots[2], Cp("salám"));
    EXPECT_EQ(run.Snapshots()[11].carriedslots[2], "");
    // The slots outlive the restart; only the flags start afresh.
    EXPECT_EQ(run.Snapshots()[10].carriedslots[2], Cp("salám"));
}

// Installing the liquidator twice drives its flag to -1, which leaves its
// slot as the last listing left it, while the bus keeps waiting.
TEST(KvaldorInventory, AFlagBelowZeroLeavesItsSlotUnchanged)
{
    KvaldorRun run;
    run.Type(WinningPrefix(74)).Type("inventář").Type(WinningPrefix(75).back());
    // From the power room back to the cupboard for a second cable, and back.
    run.Type({"s", "z", "z", "z", "j", "v", "v", "j", "v", "vezmi kabel", "z", "s", "z", "z", "s", "v", "v", "v",
              "j", "instaluj likvidátor", "inventář", "s", "z", "z", "z", "j", "v", "v", "j", "z", "z", "z", "z", "j"});
    run.Play();
    ASSERT_FALSE(run.Returned());
    EXPECT_THAT(run.Lines(75), ElementsAre("neseš sebou: ", "likvidátor", "masku", "šperhák", "kabel", "klíč"));
    const std::size_t second = 76 + 20;
    EXPECT_THAT(run.Lines(second), ElementsAre("likvidátor je připojen k hlavnímu rozvodu proudu. spustí se však, až "
                                               "odjedeš autobusem."));
    EXPECT_EQ(Value(run.Snapshots()[second].variables, Var::liquidator), -1);
    EXPECT_THAT(run.Lines(second + 1), ElementsAre("neseš sebou: ", "likvidátor", "masku", "šperhák", "klíč"));
    EXPECT_THAT(run.Said(run.Inputs() - 1),
                ElementsAre("jsi na autobusové zastávce.", "na severní straně čeká autobus. vidíš jízdní řád.",
                            "lze jít směrem sever."));
}

} // namespace
} // namespace orbela::testing
