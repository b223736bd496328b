// SPDX-License-Identifier: GPL-3.0-or-later
// The rooms: description lines, then each block's tests in the order they
// are tried. The first test whose command text equals the whole line and
// whose conditions hold decides; a line that matches none is refused.

#include "hosted/kvaldor_world.h"

#include <stdexcept>

namespace orbela::kvaldor {

namespace {

using V = Var;
using R = Room;

// --- taxi ------------------------------------------------------------------

constexpr DescriptionLine taxiLines[] = {
    {"sedíš na zadním sedadle u chodníku stojícího taxiku. za volantem sedí taxikář."},
    {"lze jít směrem východ, západ"},
};
constexpr Test taxiTests[] = {
    Dies("v", {Is(V::taxifare, 1)}, Death::TaxiDriver),
    Dies("z", {Is(V::taxifare, 1)}, Death::TaxiDriver),
    Move("v", {Is(V::taxifare, 0)}, R::policesquare),
    Dies("z", {Is(V::taxifare, 0)}, Death::Car),
    Answer("polož peníze", {Is(V::taxifare, 1)}, {Minus(V::taxifare)}, "taxikář se na peníze lačně vrhl."),
    Redescribe(),
    Answer("prozkoumej taxikáře", {Is(V::taxifare, 1)}, {}, "taxikář je nevrlý a netrpělivě čeká až mu zaplatíš."),
    Answer("prozkoumej taxikáře", {Is(V::taxifare, 0)}, {}, "taxikář spokojeně bručí a čeká až vystoupíš."),
    Inventory(),
};

// --- policesquare ----------------------------------------------------------

constexpr DescriptionLine policesquareLines[] = {
    {"stojíš na vyasfaltovaném plácku. nedaleko postává policajt a točí pendrekem."},
    {"lze jít směrem sever, jih, východ."},
};
constexpr Test policesquareTests[] = {
    Move("v", {}, R::dogsquare),
    Move("j", {}, R::busstop),
    Move("s", {}, R::binpark),
    Redescribe(),
    Inventory(),
};

// --- busstop ---------------------------------------------------------------

constexpr DescriptionLine busstopLines[] = {
    {"jsi na autobusové zastávce."},
    {"vidíš jízdní řád.", {Is(V::liquidator, 1)}},
    {"na severní straně čeká autobus. vidíš jízdní řád.", {IsNot(V::liquidator, 1)}},
    {"lze jít směrem sever."},
};
constexpr Test busstopTimetableTests[] = {
    Move("s", {}, R::policesquare),
    Answer("prozkoumej zastávku", {}, {}, "zastávka se skládá ze stojanu s jízdním řádem."),
    Answer("čti řád", {}, {}, "až přijede, tak tu bude; stojí v jízdním řádu."),
    Answer("prozkoumej řád", {}, {}, "až přijede, tak tu bude; stojí v jízdním řádu."),
    Inventory(),
    Redescribe(),
};
constexpr Test busstopBusWaitingTests[] = {
    Redescribe(),
    Move("s", {}, R::policesquare),
    Answer("čti řád", {}, {}, "až přijede, tak tu bude. stojí v jízdním řádu."),
    Answer("prozkoumej řád", {}, {}, "až přijede, tak tu bude. stojí v jízdním řádu."),
    Wins("j"),
    Answer("prozkoumej zastávku", {}, {}, "zastávka se skládá ze stojanu s jízdním řádem."),
    Inventory(),
};

// --- binpark ---------------------------------------------------------------

constexpr DescriptionLine binparkLines[] = {
    {"jsi v malém parčíku. vidíš odpadkový koš."},
    {"lze jít směrem sever, jih."},
};
constexpr Test binparkTests[] = {
    Move("j", {}, R::policesquare),
    Move("s", {}, R::benchpark),
    Answer("prozkoumej koš", {Is(V::binfull, 1)}, {Minus(V::binfull)},
           "v koši je starý salám, kazeta s hrami na atari a čistý arch papíru."),
    Answer("vezmi salám", {Is(V::binfull, 0), Is(V::salami, 0)}, {Plus(V::salami)}, "sebrán."),
    Inventory(),
    Answer("vezmi kazetu", {Is(V::binfull, 0), Is(V::cassette, 0)}, {Plus(V::cassette)}, "sebrána."),
    Redescribe(),
    Answer("vezmi arch", {Is(V::binfull, 0), Is(V::paper, 0)}, {Plus(V::paper)}, "sebrán."),
    Answer("prozkoumej koš", {Is(V::binfull, 0)}, {}, "koš je prázdný."),
};

// --- benchpark -------------------------------------------------------------

constexpr DescriptionLine benchparkLines[] = {
    {"jsi v parku. na lavičce sedí jakýsi chlápek."},
    {"vidíš láhev s mlékem.", {Is(V::benchbottle, 1)}},
    {"lze jít směrem jih."},
};
constexpr Test benchparkTests[] = {
    Move("j", {}, R::binpark),
    Answer("prozkoumej chlápka", {}, {}, "je to podvodník a právě přemýšlí, koho by zase napálil."),
    Inventory(),
    Redescribe(),
    Answer("vezmi láhev", {Is(V::benchbottle, 1), Is(V::milkbottle, 0)}, {}, "chlápek ti ji nechce dát."),
    Answer("vezmi láhev", {Is(V::benchbottle, 0), Is(V::milkbottle, 0)}, {Plus(V::milkbottle)}, "sebrána."),
    Answer("polož rum", {Is(V::rum, 1)}, {Minus(V::benchbottle), Minus(V::rum)},
           "chlápek popadl láhev s rumem a nyní se jí zcela věnuje."),
};

// --- dogsquare -------------------------------------------------------------

constexpr DescriptionLine dogsquareLines[] = {
    {"jsi na asfaltovém plácku před budovou atariklubu. nedaleko stojí vzrostlý strom. okolo něho obíhá "
     "velké psisko."},
    {"lze jít směrem východ, západ."},
};
constexpr Test dogsquareTests[] = {
    Dies("v", {Is(V::doghungry, 1)}, Death::Dog),
    Move("z", {}, R::policesquare),
    Move("v", {Is(V::doghungry, 0)}, R::entrance),
    Answer("prozkoumej strom", {}, {}, "je to vysoká lípa."),
    Answer("prozkoumej psisko", {Is(V::doghungry, 1)}, {},
           "pes je hladový a velmi zuřivý. není radno se k němu přibližovat."),
    Answer("prozkoumej psisko", {Is(V::doghungry, 0)}, {}, "pes je nažraný a už na tebe nevrčí."),
    Answer("polož salám", {Is(V::salami, 1)}, {Minus(V::doghungry), Minus(V::salami)},
           "psisko skočilo po salámu a v mžiku jej sežralo."),
    Redescribe(),
    Inventory(),
};

// --- entrance --------------------------------------------------------------

constexpr DescriptionLine entranceLines[] = {
    {"stojíš před vchodem do budovy."},
    {"na zemi se válí nějaký opilec."},
    {"lze jít směrem východ, západ."},
};
constexpr Test entranceTests[] = {
    Move("z", {}, R::dogsquare),
    Move("v", {}, R::corridor),
    Inventory(),
    Redescribe(),
    Answer("prozkoumej opilce", {Is(V::drunkexamined, 1)}, {},
           "je to jeden ze členů atariklubu, který se jako vždy opil rumem a tvrdě spí."),
    Answer("prozkoumej opilce", {Is(V::drunkexamined, 0)}, {Plus(V::drunkexamined)}, "opilec má u sebe rum."),
    Answer("vezmi rum", {Is(V::rum, 0)}, {Plus(V::rum)}, "sebrán."),
};

// --- corridor --------------------------------------------------------------

constexpr DescriptionLine corridorLines[] = {
    {"jsi v dlouhé tmavé chodbě s podlahou z dlaždiček."},
    {"na zemi leží střepy z rozbité láhve a kaluž mléka, ze které chlemtá velký kocour.", {Is(V::catangry, 0)}},
    {"pobíhá tu velký kocour a velmi vztekle na tebe vrčí.", {IsNot(V::catangry, 0)}},
    {"lze jít směrem východ, západ."},
};
constexpr Test corridorTests[] = {
    Move("z", {}, R::entrance),
    Answer("v", {Is(V::catangry, 1)}, {}, "kocour na tebe zuřivě prská a nechce tě pustit dál."),
    Answer("polož láhev", {Is(V::milkbottle, 1)}, {Minus(V::catangry), Minus(V::milkbottle)},
           "láhev spadla a rozbila se. mléko udělalo velkou louži."),
    Answer("prozkoumej kocoura", {}, {},
           "je to bláznivý kocour mňau, který zešílel ze hry alejkat, na kterou ho členové atariklubu nutili "
           "pořád koukat."),
    // Any value but 1 passes, also one driven below 0 by a second bottle.
    Move("v", {IsNot(V::catangry, 1)}, R::corridorend),
    Inventory(),
    Redescribe(),
};

// --- corridorend -----------------------------------------------------------

constexpr DescriptionLine corridorendLines[] = {
    {"jsi na konci chodby. jsou tu dveře na sever, na jih a na východ. na severních dveřích visí nápis a "
     "zpoza nich se ozývá hlasitý hovor mnoha lidí."},
    {"lze jít směrem sever, jih, východ, západ."},
};
constexpr std::string_view notice =
    "na nápisu stojí: atariklub odry. schůzky každý poslední pátek v měsíci od 17:00. ať zhynou všechny "
    "commodory!";
constexpr Test corridorendTests[] = {
    Move("z", {}, R::corridor),
    Move("v", {}, R::cupboardroom),
    Redescribe(),
    Move("s", {Is(V::mask, 1)}, R::anteroom),
    Inventory(),
    Dies("s", {Is(V::mask, 0)}, Death::Recognised),
    Answer("prozkoumej hovor", {}, {}, "není ničemu rozumět."),
    Answer("prozkoumej nápis", {}, {}, notice),
    Answer("čti nápis", {}, {}, notice),
    Move("j", {}, R::toolstore),
};

// --- toolstore -------------------------------------------------------------

constexpr DescriptionLine toolstoreLines[] = {
    {"jsi ve skladu nářadí. ve zdi je zabudováno jakési elektrické zařízení."},
    {"vidíš žebřík, krumpáč a pojistky. lze jít směrem sever, východ.", {Is(V::ladder, 0), Is(V::pickaxe, 0)}},
    {"vidíš krumpáč a pojistky. lze jít směrem sever, východ.", {Is(V::ladder, 1), Is(V::pickaxe, 0)}},
    {"vidíš žebřík a pojistky. lze jít směrem sever, východ.", {Is(V::ladder, 0), Is(V::pickaxe, 1)}},
    {"vidíš pojistky. lze jít směrem sever, východ.", {Is(V::ladder, 1), Is(V::pickaxe, 1)}},
};
constexpr Test toolstoreTests[] = {
    Redescribe(),
    Inventory(),
    Answer("vezmi žebřík", {Is(V::ladder, 0)}, {Plus(V::ladder)}, "sebrán."),
    Dies("vezmi pojistky", {}, Death::Fuses),
    Answer("vezmi krumpáč", {Is(V::pickaxe, 0)}, {Plus(V::pickaxe)}, "sebrán."),
    Answer("s", {Is(V::ladder, 1)}, {}, "dveře jsou příliš úzké. neprojdeš jimi."),
    Move("v", {}, R::garden),
    Move("s", {Is(V::ladder, 0)}, R::corridorend),
    Answer("polož žebřík", {Is(V::ladder, 1)}, {Minus(V::ladder)}, "položen."),
};

// --- garden ----------------------------------------------------------------

constexpr DescriptionLine gardenLines[] = {
    {"jsi na zahradě mezi záhony. u jednoho stojí zahradník a okopává cosi motykou. vidíš jahody."},
    {"lze jít směrem jih, západ."},
};
constexpr Test gardenTests[] = {
    Redescribe(),
    Answer("polož krumpáč", {Is(V::pickaxe, 1)}, {Minus(V::pickaxe)}, "položen."),
    Inventory(),
    Dies("vezmi jahody", {}, Death::Gardener),
    Move("z", {Is(V::pickaxe, 0)}, R::toolstore),
    Answer("z", {Is(V::pickaxe, 1)}, {}, "zahradník tě nechce pustit."),
    Answer("prozkoumej jahody", {}, {}, "jahody jsou velké, červené. mňam."),
    Dies("jez jahody", {}, Death::Gardener),
    Answer("prozkoumej zahradníka", {}, {},
           "je to neúspěšný programátor, který si zahradničením léčí nervy. vypadá velmi hrabivě."),
    Move("j", {}, R::lawn),
};

// --- lawn ------------------------------------------------------------------

constexpr DescriptionLine lawnLines[] = {
    {"stojíš na trávníku blízko vysokého stromu. na západní straně je schátralá kůlna."},
    {"lze jít směrem sever, západ."},
};
constexpr Test lawnTests[] = {
    Redescribe(),
    Inventory(),
    Move("s", {}, R::garden),
    Move("z", {}, R::shed),
    Answer("prozkoumej strom", {}, {}, "je to třešeň."),
    Answer("vylez strom", {Is(V::ladder, 0)}, {}, "nemáš po čem bys tam vylezl."),
    Move("vylez strom", {Is(V::ladder, 1)}, R::treetop),
};

// --- treetop ---------------------------------------------------------------

constexpr DescriptionLine treetopLines[] = {
    {"vylezl jsi do koruny stromu. fouká silný vítr a strom se kymácí."},
    {"vidíš masku.", {IsNot(V::mask, 1)}},
    {"lze jít směrem dolů."},
};
constexpr Test treetopTests[] = {
    Move("d", {}, R::lawn),
    Redescribe(),
    Inventory(),
    Answer("vezmi masku", {Is(V::mask, 0)}, {Plus(V::mask)}, "sebrána."),
};

// --- shed ------------------------------------------------------------------

constexpr DescriptionLine shedLines[] = {
    {"jsi ve staré, zatuchlé, polorozbořené kůlně. všude je špína a pavučiny."},
    {"vidíš starou bednu. lze jít směrem východ.", {Is(V::chestclosed, 1)}},
    {"vidíš starou bednu, disketu a peníze. lze jít směrem východ.",
     {IsNot(V::chestclosed, 1), Is(V::diskette, 0), Is(V::money, 0)}},
    {"vidíš starou bednu a peníze. lze jít směrem východ.",
     {IsNot(V::chestclosed, 1), Is(V::diskette, 1), Is(V::money, 0)}},
    {"vidíš starou bednu a disketu. lze jít směrem východ.",
     {IsNot(V::chestclosed, 1), Is(V::diskette, 0), Is(V::money, 1)}},
    {"vidíš starou bednu. lze jít směrem východ.", {IsNot(V::chestclosed, 1), Is(V::diskette, 1), Is(V::money, 1)}},
};
constexpr Test shedTests[] = {
    Inventory(),
    Redescribe(),
    Move("v", {}, R::lawn),
    Answer("otevři bednu", {Is(V::pickaxe, 0), Is(V::chestclosed, 1)}, {}, "nejde to, nemáš nářadí."),
    Answer("prozkoumej bednu", {Is(V::chestclosed, 1)}, {}, "bedna je zavřená."),
    Answer("otevři bednu", {Is(V::pickaxe, 1), Is(V::chestclosed, 1)}, {Minus(V::chestclosed)},
           "otevřel jsi bednu, z které vypadla disketa a peníze."),
    Answer("prozkoumej bednu", {Is(V::chestclosed, 0)}, {}, "bedna je prázdná."),
    Answer("vezmi peníze", {Is(V::chestclosed, 0), Is(V::money, 0)}, {Plus(V::money)}, "sebrány."),
    Answer("vezmi disketu", {Is(V::chestclosed, 0), Is(V::diskette, 0)}, {Plus(V::diskette)}, "sebrána."),
};

// --- anteroom --------------------------------------------------------------

constexpr DescriptionLine anteroomLines[] = {
    {"jsi v předsíni atariklubu."},
    {"stojí tu předseda atariklubu. jakmile tě spatří, zařve: nazdar! zaplať příspěvky na příští rok!",
     {Is(V::leaderwaiting, 1)}},
    // The blank after "lze" is missing in this room's exit line.
    {"lzejít směrem jih, západ."},
};
constexpr Test anteroomTests[] = {
    Move("j", {}, R::corridorend),
    Answer("polož peníze", {Is(V::money, 1)}, {Minus(V::money), Minus(V::leaderwaiting)},
           "předseda chňapl po penězích a hned se s nimi vytratil."),
    Redescribe(),
    Answer("z", {Is(V::leaderwaiting, 1)}, {}, "předseda řve: sem s penězi! a nechce tě pustit dál."),
    Inventory(),
    Move("z", {Is(V::leaderwaiting, 0)}, R::mainhall),
};

// --- mainhall --------------------------------------------------------------

constexpr DescriptionLine mainhallLines[] = {
    {"jsi v hlavním sále atariklubu. jeden ze členů, ďábelský elektronik, tu tluče hlavou o zeď, protože "
     "mu jako vždy něco funguje."},
    {"lze jít směrem východ, západ."},
};
constexpr Test mainhallTests[] = {
    Move("v", {}, R::anteroom),
    Redescribe(),
    Inventory(),
    Move("z", {}, R::crowdtable),
};

// --- crowdtable ------------------------------------------------------------

constexpr DescriptionLine crowdtableLines[] = {
    {"jsi v hlavním sále atariklubu. okolo stolu se tísní davy ataristů a kopýrují o sto šest.",
     {Is(V::crowdsearching, 0)}},
    {"jsi v hlavním sále atariklubu. okolo dlouhého stolu zběsile pobíhají podivné existence v čele s jedním "
     "ze členů klubu a marně hledají něco ke kopírování.",
     {IsNot(V::crowdsearching, 0)}},
    {"lze jít směrem sever, východ."},
};
constexpr Test crowdtableTests[] = {
    Move("v", {}, R::mainhall),
    Answer("polož kazetu", {Is(V::cassette, 1)}, {Minus(V::crowdsearching), Minus(V::cassette)},
           "ataristé se pardálím skokem vrhli na kazetu a vzápětí se jali kopýrovat, až se z počítačů kouří."),
    Redescribe(),
    Answer("polož disketu", {Is(V::diskette, 1)}, {},
           "jeden ze členů si disketu prohlédl a znechuceně ji odložil, protože na ní nejsou žádné hry."),
    Inventory(),
    Answer("s", {Is(V::crowdsearching, 1)}, {}, "davem pobíhajících členů atariklubu se nedá protlačit."),
    Move("s", {Is(V::crowdsearching, 0)}, R::printertable),
};

// --- printertable ----------------------------------------------------------

constexpr DescriptionLine printertableEntryLines[] = {
    {"jsi stále v hlavním sále. u malého stolku s asi šesti tiskárnami domácí výroby sedí kroužek jejich "
     "příznivců v čele s jedním ze členů klubu. tiskárny z nějakého důvodu nefungují."},
    {"lze jít směrem jih, východ."},
};
constexpr DescriptionLine printertableWorkingLines[] = {
    {"jsi stále v hlavním sále. u malého stolku s asi šesti tiskárnami domácí výroby sedí kroužek jejich "
     "příznivců v čele s jedním ze členů klubu."},
    {"pekelný klapot tiskáren se mísí s jejich halekáním v nesnesitelný kravál."},
    {"lze jít směrem jih, východ."},
};
constexpr Test printertableTests[] = {
    Redescribe({Is(V::printersidle, 1)}, DescriptionForm::Entry),
    Answer("vezmi šperhák", {Is(V::printersidle, 0), Is(V::picklock, 0)}, {Plus(V::picklock)}, "sebrán."),
    Inventory(),
    Move("v", {}, R::chairrow),
    Move("j", {}, R::crowdtable),
    Answer("polož arch", {Is(V::paper, 1)}, {Minus(V::printersidle), Minus(V::paper)},
           "tiskaři popadli papír, nacpali ho do tiskáren a začali tisknout další tuny manuálů ke hrám. "
           "přitom si nevšimli, že jednomu z nich vypadl z kapsy šperhák."),
    Answer("prozkoumej tiskárny", {}, {},
           "je to jehličková tiskárna domácí výroby s jedinou jehlou, která tiskne přes kopírák závratnou "
           "rychlostí 500 znaků za týden."),
    Redescribe({Is(V::printersidle, 0)}, DescriptionForm::Working),
};

// --- chairrow --------------------------------------------------------------

constexpr DescriptionLine chairrowLines[] = {
    {"nacházíš se stále v hlavním sálu atariklubu. u zdi stojí řada židlí."},
    {"lze jít směrem východ, západ."},
};
constexpr Test chairrowTests[] = {
    Move("z", {}, R::printertable),
    Redescribe(),
    Inventory(),
    Move("v", {}, R::smallhall),
};

// --- smallhall -------------------------------------------------------------

constexpr DescriptionLine smallhallLines[] = {
    {"jsi v malém sále. u stolu s počítačem tu sedí dva členové klubu."},
    {"zjevně se nudí.", {Is(V::copiersidle, 1)}},
    {"kopýrují disky, až se z nich kouří.", {Is(V::copiersidle, 0)}},
    {"lze jít směrem východ, západ."},
};
constexpr Test smallhallTests[] = {
    Redescribe(),
    Answer("v", {Is(V::doorlocked, 1)}, {}, "bank! praštil jsi se do hlavy o zavřené dveře."),
    Inventory(),
    Answer("otevři dveře", {Is(V::doorlocked, 1), Is(V::picklock, 1)}, {Minus(V::doorlocked)},
           "dveře jsou otevřené."),
    Move("z", {}, R::chairrow),
    Answer("vezmi klíč", {Is(V::copiersidle, 0), Is(V::key, 0)}, {Plus(V::key)}, "sebrán."),
    Answer("polož disketu", {Is(V::diskette, 1)}, {Minus(V::copiersidle), Minus(V::diskette)},
           "jeden ze členů strčil disketu do mechaniky a začal jako šílený kopírovat. nevšiml si přitom, že "
           "mu z kapsy vypadl klíč."),
    Answer("otevři dveře", {Is(V::doorlocked, 1), Is(V::picklock, 0)}, {}, "nejde to, chce to správné nářadí."),
    Answer("otevři dveře", {Is(V::doorlocked, 0), Is(V::copiersidle, 1)}, {}, "dveře jsou již otevřené."),
    Move("v", {Is(V::doorlocked, 0)}, R::emptyroom),
};

// --- emptyroom -------------------------------------------------------------

constexpr DescriptionLine emptyroomLines[] = {
    {"jsi v prázdné místnosti bez nábytku, kterou osvětluje holá žárovka. na jižní straně je schodiště a na "
     "západní vchod do malého sálu."},
    {"lze jít směrem jih, západ."},
};
constexpr Test emptyroomTests[] = {
    Inventory(),
    Move("z", {}, R::smallhall),
    Redescribe(),
    Move("j", {}, R::powerroom),
};

// --- powerroom -------------------------------------------------------------

constexpr DescriptionLine powerroomLines[] = {
    {"jsi v malé místnosti. je zde velká skříň, na které je nápis: hlavní rozvod proudu."},
    {"lze jít směrem sever."},
};
constexpr Test powerroomTests[] = {
    Redescribe(),
    Inventory(),
    Move("s", {}, R::emptyroom),
    Answer("instaluj likvidátor", {Is(V::cable, 0)}, {}, "něco ti chybí."),
    Answer("instaluj likvidátor", {Is(V::cable, 1)}, {Minus(V::liquidator), Minus(V::cable)},
           "likvidátor je připojen k hlavnímu rozvodu proudu. spustí se však, až odjedeš autobusem."),
};

// --- cupboardroom ----------------------------------------------------------

constexpr DescriptionLine cupboardroomLines[] = {
    {"jsi v malé místnosti, která zřejmě není moc často navštěvovaná. v rozích je plno pavučin. je zde "
     "skříň."},
    {"lze jít směrem západ."},
};
constexpr Test cupboardroomTests[] = {
    Move("z", {}, R::corridorend),
    Answer("vezmi kabel", {Is(V::cupboardclosed, 0), Is(V::cable, 0)}, {Plus(V::cable)}, "sebrán."),
    Answer("prozkoumej skříň", {Is(V::cupboardclosed, 1)}, {}, "skříň je zavřená."),
    Answer("otevři skříň", {Is(V::cupboardclosed, 0)}, {}, "skříň je už otevřená."),
    Answer("otevři skříň", {Is(V::key, 0), Is(V::cupboardclosed, 1)}, {}, "dveře jsou zavřené a klíč je pryč."),
    Answer("prozkoumej skříň", {Is(V::cupboardclosed, 0)}, {}, "skříň je prázdná."),
    // The key stays carried: opening does not use it up.
    Answer("otevři skříň", {Is(V::key, 1), Is(V::cupboardclosed, 1)}, {Minus(V::cupboardclosed)},
           "otevřel jsi skříň, ze které vypadl kabel."),
    Redescribe(),
    Inventory(),
};

// --- the tables of tables, in the order of Room and Block ------------------

constexpr RoomData rooms[RoomCount] = {
    {R::taxi, taxiLines, {}},
    {R::policesquare, policesquareLines, {}},
    {R::busstop, busstopLines, {}},
    {R::binpark, binparkLines, {}},
    {R::benchpark, benchparkLines, {}},
    {R::dogsquare, dogsquareLines, {}},
    {R::entrance, entranceLines, {}},
    {R::corridor, corridorLines, {}},
    {R::corridorend, corridorendLines, {}},
    {R::toolstore, toolstoreLines, {}},
    {R::garden, gardenLines, {}},
    {R::lawn, lawnLines, {}},
    {R::treetop, treetopLines, {}},
    {R::shed, shedLines, {}},
    {R::anteroom, anteroomLines, {}},
    {R::mainhall, mainhallLines, {}},
    {R::crowdtable, crowdtableLines, {}},
    {R::printertable, printertableEntryLines, printertableWorkingLines},
    {R::chairrow, chairrowLines, {}},
    {R::smallhall, smallhallLines, {}},
    {R::emptyroom, emptyroomLines, {}},
    {R::powerroom, powerroomLines, {}},
    {R::cupboardroom, cupboardroomLines, {}},
};

using P = Prompt;
using B = Block;

constexpr BlockData blocks[BlockCount] = {
    {B::taxi, R::taxi, {}, P::Blank, taxiTests},
    {B::policesquare, R::policesquare, {}, P::Blank, policesquareTests},
    {B::busstopTimetable, R::busstop, {Is(V::liquidator, 1)}, P::Blank, busstopTimetableTests},
    {B::busstopBusWaiting, R::busstop, {}, P::EmptyLine, busstopBusWaitingTests},
    {B::binpark, R::binpark, {}, P::Blank, binparkTests},
    {B::benchpark, R::benchpark, {}, P::Blank, benchparkTests},
    {B::dogsquare, R::dogsquare, {}, P::Blank, dogsquareTests},
    {B::entrance, R::entrance, {}, P::Blank, entranceTests},
    {B::corridor, R::corridor, {}, P::Blank, corridorTests},
    {B::corridorend, R::corridorend, {}, P::Blank, corridorendTests},
    {B::toolstore, R::toolstore, {}, P::Blank, toolstoreTests},
    {B::garden, R::garden, {}, P::Blank, gardenTests},
    {B::lawn, R::lawn, {}, P::Blank, lawnTests},
    {B::treetop, R::treetop, {}, P::EmptyLine, treetopTests},
    {B::shed, R::shed, {}, P::Blank, shedTests},
    {B::anteroom, R::anteroom, {}, P::Blank, anteroomTests},
    {B::mainhall, R::mainhall, {}, P::Blank, mainhallTests},
    {B::crowdtable, R::crowdtable, {}, P::Blank, crowdtableTests},
    {B::printertable, R::printertable, {}, P::Blank, printertableTests},
    {B::chairrow, R::chairrow, {}, P::Blank, chairrowTests},
    {B::smallhall, R::smallhall, {}, P::Blank, smallhallTests},
    {B::emptyroom, R::emptyroom, {}, P::Blank, emptyroomTests},
    {B::powerroom, R::powerroom, {}, P::Blank, powerroomTests},
    {B::cupboardroom, R::cupboardroom, {}, P::Blank, cupboardroomTests},
};

constexpr bool TablesInOrder()
{
    for (std::size_t i = 0; i < RoomCount; ++i)
        if (static_cast<std::size_t>(rooms[i].room) != i)
            return false;
    for (std::size_t i = 0; i < BlockCount; ++i)
        if (static_cast<std::size_t>(blocks[i].block) != i)
            return false;
    return true;
}
static_assert(TablesInOrder(), "rooms and blocks must be listed in the order of their enums");

constexpr Variables startValues = [] {
    Variables values{};
    auto set = [&values](Var var) { values[static_cast<std::size_t>(var)] = 1; };
    for (Var var : {V::liquidator, V::taxifare, V::binfull, V::benchbottle, V::doghungry, V::catangry,
                    V::chestclosed, V::leaderwaiting, V::crowdsearching, V::copiersidle, V::printersidle,
                    V::doorlocked, V::cupboardclosed})
        set(var);
    return values;
}();

// Identifiers are spaced per block, like the line numbers of the program
// the adventure was written as: block n returns through 100n+101 and 100n+102.
constexpr std::int32_t ReturnBase = 100;
constexpr std::int32_t ReturnStep = 100;

} // namespace

const Variables& StartValues()
{
    return startValues;
}

const RoomData& RoomOf(Room room)
{
    return rooms[static_cast<std::size_t>(room)];
}

const BlockData& BlockOf(Block block)
{
    return blocks[static_cast<std::size_t>(block)];
}

std::span<const BlockData> Blocks()
{
    return blocks;
}

Block BlockAfterDescription(Room room, const Variables& variables)
{
    for (const BlockData& block : blocks)
        if (block.room == room && block.heldWhen.Hold(variables))
            return block.block;
    // Every room's last block holds unconditionally.
    throw std::logic_error("a room without a block");
}

std::int32_t InventoryReturn(Block block)
{
    return ReturnBase + ReturnStep * static_cast<std::int32_t>(block) + 1;
}

std::int32_t RefusalReturn(Block block)
{
    return ReturnBase + ReturnStep * static_cast<std::int32_t>(block) + 2;
}

std::optional<Block> ResumeBlock(std::int32_t identifier)
{
    for (const BlockData& data : blocks)
        if (identifier == InventoryReturn(data.block) || identifier == RefusalReturn(data.block))
            return data.block;
    return std::nullopt;
}

} // namespace orbela::kvaldor
