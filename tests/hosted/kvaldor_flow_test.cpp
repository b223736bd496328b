// SPDX-License-Identifier: GPL-3.0-or-later
// The run as a whole: introduction, the winning walkthrough, the endings
// and the play-again question.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "hosted/orbelaprog.h"
#include "kvaldor_run.h"
#include "kvaldor_test_util.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace std::chrono_literals;

std::size_t Count(const std::vector<std::string>& texts, const std::string& text)
{
    return static_cast<std::size_t>(std::count(texts.begin(), texts.end(), text));
}

TEST(KvaldorIntroduction, TellsTheStoryWithTwoWaitsThenSeatsThePlayerInTheTaxi)
{
    KvaldorRun run;
    run.Play();
    ASSERT_FALSE(run.Returned());
    const auto said = run.Said(0);
    ASSERT_EQ(said.size(), 4u + 1u + 20u + 2u + 1u);
    EXPECT_EQ(said[0], "právě začíná fantastická česká textová hra kvaldor.");
    EXPECT_THAT(said[1], HasSubstr("1991"));
    EXPECT_EQ(said[2], "hra se ovládá jedno či dvouslovnými příkazy; například inventář nebo vezmi klíč. pro pohyb "
                       "stačí vložit první písmeno: s=sever, j=jih, v=východ, z=západ. ostatní slova se však musí "
                       "vypisovat celá. program zná 72 slov.");
    EXPECT_EQ(said[3], "některá z nich jsou: prozkoumej, čti, jez, vezmi, polož, inventář, situace a další.");
    EXPECT_EQ(said[4], "kvaldor.");
    EXPECT_EQ(said[4 + 3], "zatím jsi vždy vyvázl z nejhoršího a občas sis i něco nahrál. až jednoho dne:");
    EXPECT_EQ(said[4 + 17], "zhnusen takovou potupou ses vydal na zpáteční cestu, abys v klidu domova ukul "
                            "strašlivou bestiální pomstu.");
    for (std::size_t i = 1; i <= 25; ++i) {
        EXPECT_FALSE(said[i].empty());
        // Lower-case throughout, like all the game's texts.
        EXPECT_EQ(said[i].find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << said[i];
    }
    EXPECT_EQ(std::vector<std::string>(said.begin() + 25, said.end() - 1), TaxiDescription);
    EXPECT_EQ(said.back(), " ");

    ASSERT_EQ(run.Waits().size(), 2u);
    EXPECT_EQ(run.Waits()[0].duration, 5000ms);
    EXPECT_EQ(run.Waits()[0].spokenBefore, 4u);
    EXPECT_EQ(run.Waits()[1].duration, 10000ms);
    EXPECT_EQ(run.Waits()[1].spokenBefore, 25u);
    EXPECT_EQ(run.Elapsed(), 15000ms);

    ASSERT_EQ(run.Snapshots().size(), 1u);
    EXPECT_EQ(run.Snapshots()[0].variables, ExpectedStart());
    EXPECT_EQ(run.Snapshots()[0].command, "");
}

TEST(KvaldorWalkthrough, TheEightyNineCommandsWinAndEndTheRunAtOnce)
{
    KvaldorRun run;
    run.Type(WinningCommands());
    run.Play();
    ASSERT_TRUE(run.Returned());
    EXPECT_EQ(run.Inputs(), 89u);

    const auto all = run.AllSaid();
    EXPECT_EQ(Count(all, "nelze provést."), 0u);
    EXPECT_EQ(Count(all, "chceš hrát znovu? 0 =ano, 1 =ne"), 0u);
    EXPECT_EQ(run.Elapsed(), 15000ms);
    for (const auto& snapshot : run.Snapshots())
        EXPECT_TRUE(snapshot.stackEmpty);

    // The two closing texts and nothing after them: no prompt, no question.
    const auto end = run.Said(89);
    ASSERT_EQ(end.size(), 2u);
    EXPECT_THAT(end[0], HasSubstr("autobus"));
    EXPECT_THAT(end[1], HasSubstr("likvidátor"));

    EXPECT_THAT(run.Lines(1), ElementsAre("taxikář se na peníze lačně vrhl."));
    EXPECT_THAT(run.Lines(2), ElementsAre("stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem.",
                                          "lze jít směrem sever, jih, východ."));
    EXPECT_THAT(run.Lines(4), ElementsAre("v koši je starý salám, kazeta s hrami na atari a čistý arch papíru."));
    EXPECT_THAT(run.Lines(5), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(6), ElementsAre("sebrána."));
    EXPECT_THAT(run.Lines(10), ElementsAre("psisko skočilo po salámu a v mžiku jej sežralo."));
    EXPECT_THAT(run.Lines(17), ElementsAre("chlápek popadl láhev s rumem a nyní se jí zcela věnuje."));
    EXPECT_THAT(run.Lines(24), ElementsAre("láhev spadla a rozbila se. mléko udělalo velkou louži."));
    EXPECT_THAT(run.Lines(35), ElementsAre("otevřel jsi bednu, z které vypadla disketa a peníze."));
    EXPECT_THAT(run.Lines(36), ElementsAre("sebrány."));
    EXPECT_THAT(run.Lines(42), ElementsAre("položen."));
    EXPECT_THAT(run.Lines(48), ElementsAre("ataristé se pardálím skokem vrhli na kazetu a vzápětí se jali kopýrovat, "
                                           "až se z počítačů kouří."));
    EXPECT_THAT(run.Lines(56), ElementsAre("dveře jsou otevřené."));
    EXPECT_THAT(run.Lines(64), ElementsAre("otevřel jsi skříň, ze které vypadl kabel."));
    EXPECT_THAT(run.Lines(75), ElementsAre("likvidátor je připojen k hlavnímu rozvodu proudu. spustí se však, až "
                                           "odjedeš autobusem."));
    // At the bus stop the bus now waits, and the prompt is an empty line.
    EXPECT_THAT(run.Said(88), ElementsAre("jsi na autobusové zastávce.", "na severní straně čeká autobus. vidíš jízdní řád.",
                                          "lze jít směrem sever."));

    const auto& last = run.Snapshots().back().variables;
    EXPECT_EQ(Value(last, kvaldor::Var::liquidator), 0);
    EXPECT_EQ(Value(last, kvaldor::Var::cable), 0);
    EXPECT_EQ(Value(last, kvaldor::Var::key), 1);
}

TEST(KvaldorWalkthrough, RunKvaldorReturnsAfterTheWin)
{
    Screen screen;
    ScriptedDialog dialog;
    for (const auto& command : WinningCommands())
        dialog.ConfirmUtf8(command);
    RecordingSpeech speech;
    VirtualClock clock;
    Runtime runtime(screen, dialog, speech, clock);
    RunKvaldor(runtime);
    EXPECT_EQ(dialog.Left(), 0u);
    EXPECT_EQ(dialog.Shown(), 89);
    EXPECT_EQ(clock.Now(), 15000ms);
}

struct DeathCase {
    const char* name;
    std::vector<std::string> commands;
    std::size_t lines;
    // A quoted line the death must print, or empty.
    std::string quoted;
};

std::vector<std::string> ToCorridorEnd(std::vector<std::string> more)
{
    return Joined(WinningPrefix(25), more);
}

const std::vector<DeathCase>& Deaths()
{
    static const std::vector<DeathCase> cases = {
        {"TaxiDriverEast", {"v"}, 1, ""},
        {"TaxiDriverWest", {"z"}, 1, ""},
        {"Car", {"polož peníze", "z"}, 1, ""},
        {"Dog", {"polož peníze", "v", "v", "v"}, 1,
         "sotva jsi se pohnul, pes se na tebe vrhnul a pokousal tě tak, že jsi musel vyhledat lékaře. z pomsty nebude "
         "nic."},
        {"Recognised", ToCorridorEnd({"s"}), 2,
         "na to přiběhli z vedlejší místnosti další členové klubu, popadli tě a vyhodili na ulici. při tom ti rozbili "
         "likvidátor, takže tvůj plán je zmařen. příště buď opatrnější."},
        {"Fuses", ToCorridorEnd({"j", "vezmi pojistky"}), 1, ""},
        {"GardenerTaking", ToCorridorEnd({"j", "v", "vezmi jahody"}), 1,
         "ty mi budeš jíst mé jahody?! zaryčel zahradník a kopl tě motykou do hlavy. příště se neukvapuj."},
        {"GardenerEating", ToCorridorEnd({"j", "v", "jez jahody"}), 1,
         "ty mi budeš jíst mé jahody?! zaryčel zahradník a kopl tě motykou do hlavy. příště se neukvapuj."},
    };
    return cases;
}

class KvaldorDeath : public ::testing::TestWithParam<DeathCase> {};

// The death's lines, then the question.
void ExpectDeath(const KvaldorRun& run, const DeathCase& death)
{
    const std::size_t n = death.commands.size();
    const auto said = run.Said(n);
    ASSERT_GE(said.size(), death.lines + 1);
    EXPECT_EQ(said[death.lines], "chceš hrát znovu? 0 =ano, 1 =ne");
    if (!death.quoted.empty()) {
        EXPECT_EQ(said[death.lines - 1], death.quoted);
    }
    for (std::size_t i = 0; i < death.lines; ++i)
        EXPECT_GT(said[i].size(), 40u) << said[i];
}

TEST_P(KvaldorDeath, AnswerZeroStartsAgainInTheTaxiWithoutTheIntroduction)
{
    const DeathCase& death = GetParam();
    KvaldorRun run;
    run.Type(death.commands).Type("0").Type("inventář");
    run.Play();
    ASSERT_FALSE(run.Returned());
    const std::size_t n = death.commands.size();
    ASSERT_EQ(run.Inputs(), n + 3);
    ExpectDeath(run, death);
    EXPECT_EQ(run.Said(n).size(), death.lines + 1);
    EXPECT_EQ(run.Said(n + 1), Joined(TaxiDescription, {" "}));
    // Every flag back at its start, the money and the liquidator carried again.
    EXPECT_EQ(run.Snapshots()[n + 1].variables, ExpectedStart());
    EXPECT_TRUE(run.Snapshots()[n + 1].stackEmpty);
    EXPECT_THAT(run.Lines(n + 2), ElementsAre("neseš sebou: ", "likvidátor", "peníze"));
    EXPECT_EQ(run.Waits().size(), 2u);
    EXPECT_EQ(run.Elapsed(), 15000ms);
    EXPECT_EQ(Count(run.AllSaid(), "kvaldor."), 1u);
}

TEST_P(KvaldorDeath, APositiveAnswerEndsTheGameWithAMessage)
{
    for (const char* answer : {"1", "0.5"}) {
        const DeathCase& death = GetParam();
        KvaldorRun run;
        run.Type(death.commands).Type(answer);
        run.Play();
        ASSERT_TRUE(run.Returned()) << answer;
        ExpectDeath(run, death);
        EXPECT_THAT(run.Said(death.commands.size() + 1), ElementsAre("hra je skončena.")) << answer;
    }
}

TEST_P(KvaldorDeath, ANegativeAnswerEndsTheGameSilently)
{
    const DeathCase& death = GetParam();
    KvaldorRun run;
    run.Type(death.commands).Type("-1");
    run.Play();
    ASSERT_TRUE(run.Returned());
    ExpectDeath(run, death);
    EXPECT_TRUE(run.Said(death.commands.size() + 1).empty());
}

INSTANTIATE_TEST_SUITE_P(Kvaldor, KvaldorDeath, ::testing::ValuesIn(Deaths()),
                         [](const ::testing::TestParamInfo<DeathCase>& info) { return std::string(info.param.name); });

// The answer keeps its value when the dialog is closed, and it is always 0
// at the question, so the game starts again.
TEST(KvaldorEnding, ClosingThePlayAgainDialogStartsAgain)
{
    KvaldorRun run;
    run.Type("v").Cancel();
    run.Play();
    ASSERT_FALSE(run.Returned());
    ASSERT_EQ(run.Inputs(), 3u);
    EXPECT_EQ(run.Said(2), Joined(TaxiDescription, {" "}));
}

TEST(KvaldorEnding, ASecondDeathAsksAgain)
{
    KvaldorRun run;
    run.Type({"z", "0", "v", "1"});
    run.Play();
    ASSERT_TRUE(run.Returned());
    EXPECT_EQ(Count(run.AllSaid(), "chceš hrát znovu? 0 =ano, 1 =ne"), 2u);
    EXPECT_THAT(run.Said(4), ElementsAre("hra je skončena."));
}

} // namespace
} // namespace orbela::testing
