// SPDX-License-Identifier: GPL-3.0-or-later
// Rooms whose descriptions and answers follow the state, played from the
// start along the winning route.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "kvaldor_run.h"
#include "kvaldor_test_util.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;

const char* const Refused = "nelze provést.";

// Commands in order after a prefix of the winning route; Lines(k) then
// refers to the k-th command of the whole script.
void PlayRoute(KvaldorRun& run, std::size_t prefix, std::initializer_list<std::string_view> more)
{
    run.Type(WinningPrefix(prefix)).Type(more);
    run.Play();
}

TEST(KvaldorRooms, TaxiAnswersByTheFare)
{
    KvaldorRun run;
    run.Type({"prozkoumej taxikáře", "polož peníze", "polož peníze", "prozkoumej taxikáře", "situace"});
    run.Play();
    EXPECT_THAT(run.Said(1), ElementsAre("taxikář je nevrlý a netrpělivě čeká až mu zaplatíš.", " "));
    EXPECT_THAT(run.Said(2), ElementsAre("taxikář se na peníze lačně vrhl.", " "));
    EXPECT_THAT(run.Said(3), ElementsAre(Refused, " "));
    EXPECT_THAT(run.Said(4), ElementsAre("taxikář spokojeně bručí a čeká až vystoupíš.", " "));
    EXPECT_EQ(run.Said(5), Joined(TaxiDescription, {" "}));
}

TEST(KvaldorRooms, BusStopBeforeAndAfterTheLiquidatorIsInstalled)
{
    KvaldorRun before;
    before.Type({"polož peníze", "v", "j", "čti řád", "prozkoumej řád", "prozkoumej zastávku", "j", "s"});
    before.Play();
    EXPECT_THAT(before.Said(3), ElementsAre("jsi na autobusové zastávce.", "vidíš jízdní řád.", "lze jít směrem sever.", " "));
    EXPECT_THAT(before.Said(4), ElementsAre("až přijede, tak tu bude; stojí v jízdním řádu.", " "));
    EXPECT_THAT(before.Said(5), ElementsAre("až přijede, tak tu bude; stojí v jízdním řádu.", " "));
    EXPECT_THAT(before.Said(6), ElementsAre("zastávka se skládá ze stojanu s jízdním řádem.", " "));
    EXPECT_THAT(before.Said(7), ElementsAre(Refused, " "));
    EXPECT_EQ(before.Lines(8)[0], "stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem.");

    // The bus waits: a full stop in the timetable's answer, and an empty
    // line for a prompt, which says nothing.
    KvaldorRun after;
    PlayRoute(after, 88, {"čti řád", "prozkoumej řád", "situace", "prozkoumej zastávku", "inventář", "Situace"});
    EXPECT_THAT(after.Said(89), ElementsAre("až přijede, tak tu bude. stojí v jízdním řádu."));
    EXPECT_THAT(after.Said(90), ElementsAre("až přijede, tak tu bude. stojí v jízdním řádu."));
    EXPECT_THAT(after.Said(91), ElementsAre("jsi na autobusové zastávce.", "na severní straně čeká autobus. vidíš jízdní řád.",
                                            "lze jít směrem sever."));
    EXPECT_THAT(after.Said(92), ElementsAre("zastávka se skládá ze stojanu s jízdním řádem."));
    EXPECT_THAT(after.Lines(93), ElementsAre("neseš sebou: ", "masku", "šperhák", "klíč"));
    EXPECT_THAT(after.Said(94), ElementsAre(Refused));
    EXPECT_FALSE(after.Returned());
}

TEST(KvaldorRooms, BinGivesItsThingsOnlyOnceSearched)
{
    KvaldorRun run;
    run.Type({"polož peníze", "v", "s", "vezmi salám", "prozkoumej koš", "prozkoumej koš", "vezmi salám", "vezmi salám",
              "vezmi arch", "vezmi kazetu"});
    run.Play();
    EXPECT_THAT(run.Lines(3), ElementsAre("jsi v malém parčíku. vidíš odpadkový koš.", "lze jít směrem sever, jih."));
    EXPECT_THAT(run.Lines(4), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(6), ElementsAre("koš je prázdný."));
    EXPECT_THAT(run.Lines(7), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(8), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(9), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(10), ElementsAre("sebrána."));
}

TEST(KvaldorRooms, TheManOnTheBenchKeepsTheBottleUntilHeHasTheRum)
{
    KvaldorRun run;
    run.Type({"polož peníze", "v", "s", "s", "vezmi láhev", "polož rum", "prozkoumej chlápka"});
    run.Play();
    EXPECT_THAT(run.Lines(4), ElementsAre("jsi v parku. na lavičce sedí jakýsi chlápek.", "vidíš láhev s mlékem.",
                                          "lze jít směrem jih."));
    EXPECT_THAT(run.Lines(5), ElementsAre("chlápek ti ji nechce dát."));
    EXPECT_THAT(run.Lines(6), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(7).size(), 1u);

    KvaldorRun later;
    PlayRoute(later, 18, {"situace", "vezmi láhev"});
    EXPECT_THAT(later.Lines(18), ElementsAre("sebrána."));
    EXPECT_THAT(later.Lines(19), ElementsAre("jsi v parku. na lavičce sedí jakýsi chlápek.", "lze jít směrem jih."));
    EXPECT_THAT(later.Lines(20), ElementsAre(Refused));
}

TEST(KvaldorRooms, DogSquareAndTheDrunk)
{
    KvaldorRun run;
    PlayRoute(run, 9, {"prozkoumej psa", "prozkoumej psisko", "prozkoumej strom", "polož salám",
                                "prozkoumej psisko", "situace", "v", "prozkoumej opilce", "prozkoumej opilce"});
    const std::string square = "jsi na asfaltovém plácku před budovou atariklubu. nedaleko stojí vzrostlý strom. okolo "
                               "něho obíhá velké psisko.";
    EXPECT_THAT(run.Lines(9), ElementsAre(square, "lze jít směrem východ, západ."));
    EXPECT_THAT(run.Lines(10), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(11), ElementsAre("pes je hladový a velmi zuřivý. není radno se k němu přibližovat."));
    EXPECT_THAT(run.Lines(12), ElementsAre("je to vysoká lípa."));
    EXPECT_THAT(run.Lines(14), ElementsAre("pes je nažraný a už na tebe nevrčí."));
    EXPECT_THAT(run.Lines(15), ElementsAre(square, "lze jít směrem východ, západ."));
    EXPECT_THAT(run.Lines(16), ElementsAre("stojíš před vchodem do budovy.", "na zemi se válí nějaký opilec.",
                                           "lze jít směrem východ, západ."));
    EXPECT_THAT(run.Lines(17), ElementsAre("opilec má u sebe rum."));
    ASSERT_EQ(run.Lines(18).size(), 1u);
    EXPECT_NE(run.Lines(18)[0], "opilec má u sebe rum.");
}

TEST(KvaldorRooms, CorridorCatBeforeAndAfterTheMilk)
{
    KvaldorRun run;
    PlayRoute(run, 23, {"v", "prozkoumej kocoura", "polož láhev", "situace", "v"});
    EXPECT_THAT(run.Lines(23), ElementsAre("jsi v dlouhé tmavé chodbě s podlahou z dlaždiček.",
                                           "pobíhá tu velký kocour a velmi vztekle na tebe vrčí.",
                                           "lze jít směrem východ, západ."));
    EXPECT_THAT(run.Lines(24), ElementsAre("kocour na tebe zuřivě prská a nechce tě pustit dál."));
    EXPECT_THAT(run.Lines(25), ElementsAre("je to bláznivý kocour mňau, který zešílel ze hry alejkat, na kterou ho "
                                           "členové atariklubu nutili pořád koukat."));
    EXPECT_THAT(run.Lines(26), ElementsAre("láhev spadla a rozbila se. mléko udělalo velkou louži."));
    EXPECT_THAT(run.Lines(27), ElementsAre("jsi v dlouhé tmavé chodbě s podlahou z dlaždiček.",
                                           "na zemi leží střepy z rozbité láhve a kaluž mléka, ze které chlemtá velký "
                                           "kocour.",
                                           "lze jít směrem východ, západ."));
    ASSERT_EQ(run.Lines(28).size(), 2u);
    EXPECT_EQ(run.Lines(28)[1], "lze jít směrem sever, jih, východ, západ.");
}

TEST(KvaldorRooms, CorridorEndNoticeAndTalk)
{
    KvaldorRun run;
    PlayRoute(run, 25, {"prozkoumej hovor", "prozkoumej nápis", "čti nápis"});
    EXPECT_THAT(run.Lines(26), ElementsAre("není ničemu rozumět."));
    ASSERT_EQ(run.Lines(27).size(), 1u);
    EXPECT_EQ(run.Lines(27), run.Lines(28));
    EXPECT_NE(run.Lines(27)[0].find("17:00"), std::string::npos);
}

TEST(KvaldorRooms, ToolStoreShowsWhatIsLeftAndKeepsTheLadderIn)
{
    KvaldorRun run;
    PlayRoute(run, 25, {"j", "vezmi žebřík", "situace", "s", "vezmi krumpáč", "situace", "polož žebřík",
                                 "situace", "v", "z"});
    const std::string first = "jsi ve skladu nářadí. ve zdi je zabudováno jakési elektrické zařízení.";
    EXPECT_THAT(run.Lines(26), ElementsAre(first, "vidíš žebřík, krumpáč a pojistky. lze jít směrem sever, východ."));
    EXPECT_THAT(run.Lines(27), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(28), ElementsAre(first, "vidíš krumpáč a pojistky. lze jít směrem sever, východ."));
    EXPECT_THAT(run.Lines(29), ElementsAre("dveře jsou příliš úzké. neprojdeš jimi."));
    EXPECT_THAT(run.Lines(31), ElementsAre(first, "vidíš pojistky. lze jít směrem sever, východ."));
    EXPECT_THAT(run.Lines(32), ElementsAre("položen."));
    EXPECT_THAT(run.Lines(33), ElementsAre(first, "vidíš žebřík a pojistky. lze jít směrem sever, východ."));
    EXPECT_THAT(run.Lines(34), ElementsAre("jsi na zahradě mezi záhony. u jednoho stojí zahradník a okopává cosi "
                                           "motykou. vidíš jahody.",
                                           "lze jít směrem jih, západ."));
    EXPECT_THAT(run.Lines(35), ElementsAre("zahradník tě nechce pustit."));
}

TEST(KvaldorRooms, GardenLawnAndTreetop)
{
    // Without the ladder the tree cannot be climbed.
    KvaldorRun bare;
    PlayRoute(bare, 26, {"vezmi krumpáč", "v", "prozkoumej jahody", "j", "prozkoumej strom", "vylez strom"});
    EXPECT_THAT(bare.Lines(29), ElementsAre("jahody jsou velké, červené. mňam."));
    EXPECT_THAT(bare.Lines(30), ElementsAre("stojíš na trávníku blízko vysokého stromu. na západní straně je schátralá "
                                            "kůlna.",
                                            "lze jít směrem sever, západ."));
    EXPECT_THAT(bare.Lines(31), ElementsAre("je to třešeň."));
    EXPECT_THAT(bare.Lines(32), ElementsAre("nemáš po čem bys tam vylezl."));

    // The crown's prompt is an empty line.
    KvaldorRun run;
    PlayRoute(run, 31, {"vezmi masku", "vezmi masku", "situace"});
    EXPECT_THAT(run.Said(31), ElementsAre("vylezl jsi do koruny stromu. fouká silný vítr a strom se kymácí.", "vidíš masku.",
                                          "lze jít směrem dolů."));
    EXPECT_THAT(run.Said(32), ElementsAre("sebrána."));
    EXPECT_THAT(run.Said(33), ElementsAre(Refused));
    EXPECT_THAT(run.Said(34), ElementsAre("vylezl jsi do koruny stromu. fouká silný vítr a strom se kymácí.",
                                          "lze jít směrem dolů."));
}

TEST(KvaldorRooms, ShedChestAndItsContents)
{
    KvaldorRun run;
    PlayRoute(run, 34, {"prozkoumej bednu", "otevři bednu", "situace", "vezmi disketu", "situace",
                                 "vezmi peníze", "situace", "otevři bednu", "prozkoumej bednu"});
    const std::string first = "jsi ve staré, zatuchlé, polorozbořené kůlně. všude je špína a pavučiny.";
    EXPECT_THAT(run.Lines(34), ElementsAre(first, "vidíš starou bednu. lze jít směrem východ."));
    EXPECT_THAT(run.Lines(35), ElementsAre("bedna je zavřená."));
    EXPECT_THAT(run.Lines(36), ElementsAre("otevřel jsi bednu, z které vypadla disketa a peníze."));
    EXPECT_THAT(run.Lines(37), ElementsAre(first, "vidíš starou bednu, disketu a peníze. lze jít směrem východ."));
    EXPECT_THAT(run.Lines(38), ElementsAre("sebrána."));
    EXPECT_THAT(run.Lines(39), ElementsAre(first, "vidíš starou bednu a peníze. lze jít směrem východ."));
    EXPECT_THAT(run.Lines(40), ElementsAre("sebrány."));
    EXPECT_THAT(run.Lines(41), ElementsAre(first, "vidíš starou bednu. lze jít směrem východ."));
    EXPECT_THAT(run.Lines(42), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(43), ElementsAre("bedna je prázdná."));

    KvaldorRun money;
    PlayRoute(money, 35, {"vezmi peníze", "situace"});
    EXPECT_THAT(money.Lines(37), ElementsAre(first, "vidíš starou bednu a disketu. lze jít směrem východ."));

    // The pickaxe left in the garden: no tool for the chest.
    KvaldorRun bare;
    PlayRoute(bare, 26, {"vezmi žebřík", "vezmi krumpáč", "v", "polož krumpáč", "j", "z", "otevři bednu"});
    EXPECT_THAT(bare.Lines(33), ElementsAre("nejde to, nemáš nářadí."));
}

TEST(KvaldorRooms, AnteroomLeaderWantsTheFee)
{
    KvaldorRun run;
    PlayRoute(run, 44, {"z", "polož peníze", "situace", "z"});
    ASSERT_EQ(run.Said(44).size(), 4u);
    EXPECT_EQ(run.Said(44)[0], "jsi v předsíni atariklubu.");
    EXPECT_EQ(run.Said(44)[2], "lzejít směrem jih, západ.");
    EXPECT_EQ(run.Lines(45).size(), 1u);
    EXPECT_EQ(run.Lines(46).size(), 1u);
    EXPECT_THAT(run.Lines(47), ElementsAre("jsi v předsíni atariklubu.", "lzejít směrem jih, západ."));
    ASSERT_EQ(run.Lines(48).size(), 2u);
    EXPECT_EQ(run.Lines(48)[1], "lze jít směrem východ, západ.");
}

TEST(KvaldorRooms, CrowdTableWantsGames)
{
    KvaldorRun run;
    PlayRoute(run, 47, {"s", "polož disketu", "polož disketu", "polož kazetu", "situace", "s"});
    ASSERT_EQ(run.Lines(47).size(), 2u);
    EXPECT_EQ(run.Lines(47)[1], "lze jít směrem sever, východ.");
    EXPECT_THAT(run.Lines(48), ElementsAre("davem pobíhajících členů atariklubu se nedá protlačit."));
    ASSERT_EQ(run.Lines(49).size(), 1u);
    // The diskette is not taken: the member gives it back every time.
    EXPECT_EQ(run.Lines(50), run.Lines(49));
    EXPECT_THAT(run.Lines(52), ElementsAre("jsi v hlavním sále atariklubu. okolo stolu se tísní davy ataristů a "
                                           "kopýrují o sto šest.",
                                           "lze jít směrem sever, východ."));
    EXPECT_EQ(run.Lines(53).back(), "lze jít směrem jih, východ.");
}

TEST(KvaldorRooms, PrinterTableEntryAndWorkingForms)
{
    KvaldorRun run;
    PlayRoute(run, 49, {"situace", "vezmi šperhák", "prozkoumej tiskárny", "polož arch", "situace", "v", "z",
                                 "situace", "vezmi šperhák", "vezmi šperhák"});
    const auto entry = run.Lines(49);
    ASSERT_EQ(entry.size(), 2u);
    EXPECT_EQ(entry[1], "lze jít směrem jih, východ.");
    EXPECT_EQ(run.Lines(50), entry);
    EXPECT_THAT(run.Lines(51), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(52).size(), 1u);
    EXPECT_EQ(run.Lines(53).size(), 1u);
    const auto working = run.Lines(54);
    ASSERT_EQ(working.size(), 3u);
    EXPECT_NE(working[0], entry[0]);
    EXPECT_EQ(working[1], "pekelný klapot tiskáren se mísí s jejich halekáním v nesnesitelný kravál.");
    EXPECT_EQ(working[2], "lze jít směrem jih, východ.");
    EXPECT_THAT(run.Lines(55), ElementsAre("nacházíš se stále v hlavním sálu atariklubu. u zdi stojí řada židlí.",
                                           "lze jít směrem východ, západ."));
    // Entering always shows the entry form; "situace" the working one.
    EXPECT_EQ(run.Lines(56), entry);
    EXPECT_EQ(run.Lines(57), working);
    EXPECT_THAT(run.Lines(58), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(59), ElementsAre(Refused));
}

TEST(KvaldorRooms, SmallHallMembersAndTheDoor)
{
    KvaldorRun run;
    PlayRoute(run, 53, {"v", "vezmi klíč", "polož disketu", "situace", "vezmi  klíč", "vezmi klíč",
                                 "otevři dveře", "otevři dveře", "v"});
    ASSERT_EQ(run.Lines(53).size(), 3u);
    EXPECT_EQ(run.Lines(53)[1], "zjevně se nudí.");
    EXPECT_EQ(run.Lines(53)[2], "lze jít směrem východ, západ.");
    EXPECT_THAT(run.Lines(54), ElementsAre("bank! praštil jsi se do hlavy o zavřené dveře."));
    EXPECT_THAT(run.Lines(55), ElementsAre(Refused));
    EXPECT_EQ(run.Lines(56).size(), 1u);
    ASSERT_EQ(run.Lines(57).size(), 3u);
    EXPECT_EQ(run.Lines(57)[1], "kopýrují disky, až se z nich kouří.");
    EXPECT_THAT(run.Lines(58), ElementsAre(Refused));
    EXPECT_THAT(run.Lines(59), ElementsAre("sebrán."));
    EXPECT_THAT(run.Lines(60), ElementsAre("dveře jsou otevřené."));
    EXPECT_THAT(run.Lines(61), ElementsAre(Refused));
    ASSERT_EQ(run.Lines(62).size(), 2u);
    EXPECT_EQ(run.Lines(62)[1], "lze jít směrem jih, západ.");

    KvaldorRun idle;
    PlayRoute(idle, 53, {"otevři dveře", "otevři dveře"});
    EXPECT_THAT(idle.Lines(54), ElementsAre("dveře jsou otevřené."));
    EXPECT_THAT(idle.Lines(55), ElementsAre("dveře jsou již otevřené."));

    // Without the picklock from the printer table.
    KvaldorRun bare;
    PlayRoute(bare, 49, {"v", "v", "otevři dveře"});
    EXPECT_THAT(bare.Lines(52), ElementsAre("nejde to, chce to správné nářadí."));
}

TEST(KvaldorRooms, CupboardNeedsTheKeyAndKeepsIt)
{
    KvaldorRun locked;
    PlayRoute(locked, 25, {"v", "otevři skříň", "prozkoumej skříň", "vezmi kabel"});
    EXPECT_THAT(locked.Lines(26), ElementsAre("jsi v malé místnosti, která zřejmě není moc často navštěvovaná. v rozích "
                                              "je plno pavučin. je zde skříň.",
                                              "lze jít směrem západ."));
    EXPECT_THAT(locked.Lines(27), ElementsAre("dveře jsou zavřené a klíč je pryč."));
    EXPECT_THAT(locked.Lines(28), ElementsAre("skříň je zavřená."));
    EXPECT_THAT(locked.Lines(29), ElementsAre(Refused));

    KvaldorRun run;
    PlayRoute(run, 65, {"otevři skříň", "prozkoumej skříň", "vezmi kabel"});
    EXPECT_THAT(run.Lines(66), ElementsAre("skříň je už otevřená."));
    EXPECT_THAT(run.Lines(67), ElementsAre("skříň je prázdná."));
    EXPECT_THAT(run.Lines(68), ElementsAre(Refused));
    EXPECT_EQ(Value(run.Snapshots()[65].variables, kvaldor::Var::key), 1);
}

TEST(KvaldorRooms, PowerRoomNeedsTheCable)
{
    KvaldorRun run;
    PlayRoute(run, 56, {"v", "j", "instaluj likvidátor"});
    EXPECT_THAT(run.Lines(57), ElementsAre("jsi v prázdné místnosti bez nábytku, kterou osvětluje holá žárovka. na jižní "
                                           "straně je schodiště a na západní vchod do malého sálu.",
                                           "lze jít směrem jih, západ."));
    EXPECT_THAT(run.Lines(58), ElementsAre("jsi v malé místnosti. je zde velká skříň, na které je nápis: hlavní rozvod "
                                           "proudu.",
                                           "lze jít směrem sever."));
    EXPECT_THAT(run.Lines(59), ElementsAre("něco ti chybí."));
}

} // namespace
} // namespace orbela::testing
