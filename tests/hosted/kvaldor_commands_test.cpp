// SPDX-License-Identifier: GPL-3.0-or-later
// How a command line is matched: whole line, exact bytes, first test that
// holds; and what flags driven below 0 do to the tests that read them.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "kvaldor_run.h"
#include "kvaldor_test_util.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using kvaldor::Var;

const char* const Refused = "nelze provést.";

TEST(KvaldorCommands, OnlyTheExactWholeLineMatches)
{
    KvaldorRun run;
    run.Type({"Situace", "S", "vezmi klíč", "Inventář", "prozkoumej", "polož  peníze", "polož peníze", "v", "sever",
              "z", "s"});
    run.Play();
    for (std::size_t k = 1; k <= 6; ++k)
        EXPECT_THAT(run.Said(k), ElementsAre(Refused, " ")) << k;
    EXPECT_THAT(run.Lines(7), ElementsAre("taxikář se na peníze lačně vrhl."));
    EXPECT_THAT(run.Said(9), ElementsAre(Refused, " "));
    EXPECT_THAT(run.Said(10), ElementsAre(Refused, " "));
    EXPECT_THAT(run.Lines(11), ElementsAre("jsi v malém parčíku. vidíš odpadkový koš.", "lze jít směrem sever, jih."));
    // Each refusal returned through the stack, leaving it empty.
    for (const auto& snapshot : run.Snapshots())
        EXPECT_TRUE(snapshot.stackEmpty);
}

TEST(KvaldorCommands, TheInputStatementKeepsOnlyTheFieldBeforeAComma)
{
    KvaldorRun run;
    run.Type({"situace,xyz", "  situace  "});
    run.Play();
    EXPECT_EQ(run.Said(1), Joined(TaxiDescription, {" "}));
    EXPECT_EQ(run.Said(2), Joined(TaxiDescription, {" "}));
    EXPECT_EQ(run.Snapshots()[1].command, "situace");
}

// Closing the dialog leaves the command as it was: at the first prompt the
// empty command is refused, later the last line is dispatched again.
TEST(KvaldorCommands, AClosedDialogRepeatsThePreviousCommand)
{
    KvaldorRun run;
    run.Cancel().Type("prozkoumej taxikáře").Cancel().Type("polož peníze").Cancel().Type("").Type("v").Cancel();
    run.Play();
    EXPECT_THAT(run.Said(1), ElementsAre(Refused, " "));
    EXPECT_THAT(run.Lines(2), ElementsAre("taxikář je nevrlý a netrpělivě čeká až mu zaplatíš."));
    EXPECT_THAT(run.Lines(3), ElementsAre("taxikář je nevrlý a netrpělivě čeká až mu zaplatíš."));
    EXPECT_THAT(run.Lines(4), ElementsAre("taxikář se na peníze lačně vrhl."));
    // Paid now, so the repeated line no longer matches.
    EXPECT_THAT(run.Lines(5), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(6), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(7)[0], "stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem.");
    // "v" again, now in the police square: on to the dog.
    EXPECT_EQ(run.Lines(8)[0], "jsi na asfaltovém plácku před budovou atariklubu. nedaleko stojí vzrostlý strom. "
                               "okolo něho obíhá velké psisko.");
}

TEST(KvaldorCommands, TheListingAndARefusalDoNotRepeatTheDescription)
{
    KvaldorRun run;
    run.Type({"polož peníze", "v", "inventář", "x", "situace"});
    run.Play();
    EXPECT_EQ(run.Lines(3).front(), "neseš sebou: ");
    EXPECT_EQ(run.Lines(3).size(), 2u);
    EXPECT_THAT(run.Said(4), ElementsAre(Refused, " "));
    EXPECT_THAT(run.Lines(5), ElementsAre("stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem.",
                                          "lze jít směrem sever, jih, východ."));
}

TEST(KvaldorBelowZero, ASecondSalamiLeavesTheDogNeitherHungryNorFed)
{
    KvaldorRun run;
    run.Type(WinningPrefix(10)).Type({"z", "s", "vezmi salám", "j", "v", "polož salám", "v", "prozkoumej psisko", "z"});
    run.Play();
    EXPECT_THAT(run.Lines(13), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(16), ElementsAre("psisko skočilo po salámu a v mžiku jej sežralo."));
    EXPECT_EQ(Value(run.Snapshots()[16].variables, Var::doghungry), -1);
    // Neither the death nor the way east: both tests want 0 or 1.
    EXPECT_THAT(run.Lines(17), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(18), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(19)[0], "stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem.");
}

TEST(KvaldorBelowZero, PayingTheLeaderTwiceShutsTheWayWest)
{
    KvaldorRun run;
    // From the paid anteroom back to the open chest for more money.
    run.Type(WinningPrefix(45)).Type({"j", "j", "v", "j", "z", "vezmi peníze", "v", "s", "z", "s", "s", "polož peníze",
                                      "situace", "z", "j"});
    run.Play();
    EXPECT_THAT(run.Lines(51), ElementsAre("sebrány."));
    EXPECT_THAT(run.Lines(56), ElementsAre("jsi v předsíni atariklubu.", "lzejít směrem jih, západ."));
    EXPECT_EQ(run.Lines(57).size(), 1u);
    EXPECT_EQ(Value(run.Snapshots()[57].variables, Var::leaderwaiting), -1);
    EXPECT_THAT(run.Lines(58), ElementsAre("jsi v předsíni atariklubu.", "lzejít směrem jih, západ."));
    EXPECT_THAT(run.Lines(59), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(60).back(), "lze jít směrem sever, jih, východ, západ.");
}

TEST(KvaldorBelowZero, ASecondBottleShowsTheAngryCatYetLetsThePlayerPass)
{
    KvaldorRun run;
    run.Type(WinningPrefix(24)).Type({"z", "z", "z", "s", "s", "vezmi láhev", "j", "j", "v", "v", "v", "polož láhev",
                                      "situace", "v"});
    run.Play();
    EXPECT_THAT(run.Lines(30), ElementsAre("sebrána."));
    EXPECT_EQ(run.Lines(35)[1], "na zemi leží střepy z rozbité láhve a kaluž mléka, ze které chlemtá velký kocour.");
    EXPECT_THAT(run.Lines(36), ElementsAre("láhev spadla a rozbila se. mléko udělalo velkou louži."));
    EXPECT_EQ(Value(run.Snapshots()[36].variables, Var::catangry), -1);
    EXPECT_THAT(run.Lines(37), ElementsAre("jsi v dlouhé tmavé chodbě s podlahou z dlaždiček.",
                                           "pobíhá tu velký kocour a velmi vztekle na tebe vrčí.",
                                           "lze jít směrem východ, západ."));
    EXPECT_EQ(run.Lines(38).back(), "lze jít směrem sever, jih, východ, západ.");
}

} // namespace
} // namespace orbela::testing
