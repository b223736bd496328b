// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/kvaldor_texts.h"

namespace orbela::kvaldor {

namespace {

constexpr std::string_view introduction[] = {
    "právě začíná fantastická česká textová hra kvaldor.",
    "hru jsme v roce 1991 upravili podle její verze pro domácí počítač.",
    "hra se ovládá jedno či dvouslovnými příkazy; například inventář nebo vezmi klíč. pro pohyb stačí "
    "vložit první písmeno: s=sever, j=jih, v=východ, z=západ. ostatní slova se však musí vypisovat celá. "
    "program zná 72 slov.",
    "některá z nich jsou: prozkoumej, čti, jez, vezmi, polož, inventář, situace a další.",
};

constexpr std::string_view story[] = {
    "před rokem sis za dlouho šetřené peníze koupil domácí počítač, a protože ti chyběly programy, "
    "stal ses členem počítačového klubu v odrách.",
    "do klubu jsi chodil pravidelně, přestože se tam o kopírování programů strhávaly rvačky a někteří "
    "příliš horliví členové skončili v nemocnici.",
    "zatím jsi vždy vyvázl z nejhoršího a občas sis i něco nahrál. až jednoho dne:",
    "když jsi čekal na autobus, přepadla tě zlá předtucha: co když se objeví virus, nebo uprostřed "
    "kopírování vypadne proud? přesto ses vydal na cestu.",
    "když autobus přijížděl do města, padal už soumrak. po obloze se honily roztrhané mraky a kvílel vítr.",
    "kdesi v dálce zavyl pes. zahalil ses do tmavého kabátu a zamířil k budově klubu.",
    "ve dveřích tě přivítal jeden ze členů klubu: všichni prý čekají na dalšího člena, který má přinést "
    "něco nového.",
    "vtom se dovnitř vřítil právě ten člen a už ode dveří hlásal, že nese nové jazyky a geniální novou hru.",
    "zamával kazetou nad hlavou a všichni se začali prát o to, kdo první připojí svůj magnetofon ke "
    "kopírovacímu zařízení.",
    "konektorů však bylo příliš málo, a tak začala rvačka.",
    "předseda klubu se oháněl železnou tyčí a křičel, že první kopie patří jemu. další člen mu začal "
    "vyhrožovat.",
    "předsedova rána minula cíl a dopadla přímo na tvůj počítač.",
    "počítač vylétl doprostřed rvačky a vzápětí byl rozdupán na kusy.",
    "v zoufalství jsi rozbil stoličku o hlavu jednoho ze členů. zpátky přiletěla cihla a dav začal křičet: "
    "vyhoďte toho výtržníka ven!",
    "dav tě vyhodil oknem na ulici a za tebou vyletěly i trosky tvého počítače.",
    "přísahal jsi krutou pomstu, a vtom tě do čela udeřil úlomek krytu tvého počítače.",
    "zhnusen takovou potupou ses vydal na zpáteční cestu, abys v klidu domova ukul strašlivou bestiální "
    "pomstu.",
    "po čtrnácti dnech pájení jsi sestrojil zařízení, které po připojení k hlavnímu rozvodu proudu vyšle "
    "do elektrické sítě impuls o napětí 100 kilovoltů.",
    "ten impuls zničí všechny počítače připojené k síti. zbývá jen nainstalovat zařízení u hlavního "
    "rozvodu proudu v klubu a rychle zmizet.",
    "vyzbrojen tímto zařízením, které jsi pojmenoval likvidátor, ses vydal na příští schůzku klubu.",
};

constexpr std::string_view taxiDriverDeath[] = {
    "taxikář zařval: ty chceš zdrhnout bez placení?! a praštil tě francouzákem po hlavě. několik týdnů "
    "strávíš v nemocnici a budeš myslet na úplně jiné věci než na ničení počítačů. příště buď opatrnější.",
};
constexpr std::string_view carDeath[] = {
    "otevřel jsi dveře taxiku přímo do cesty projíždějícímu autu, které tě rozjelo na placku. hru už "
    "nemůžeš dokončit.",
};
constexpr std::string_view dogDeath[] = {
    "sotva jsi se pohnul, pes se na tebe vrhnul a pokousal tě tak, že jsi musel vyhledat lékaře. z pomsty "
    "nebude nic.",
};
constexpr std::string_view recognisedDeath[] = {
    "předseda klubu tě poznal a zařval: to je ten výtržník! vyhoďte ho ven!",
    "na to přiběhli z vedlejší místnosti další členové klubu, popadli tě a vyhodili na ulici. při tom ti "
    "rozbili likvidátor, takže tvůj plán je zmařen. příště buď opatrnější.",
};
constexpr std::string_view fusesDeath[] = {
    "zhaslo světlo a počítače členů klubu uprostřed kopírování vypověděly službu. členové se sem seběhli "
    "a zbili tě tak, že se celý týden nemůžeš pohnout.",
};
constexpr std::string_view gardenerDeath[] = {
    "ty mi budeš jíst mé jahody?! zaryčel zahradník a kopl tě motykou do hlavy. příště se neukvapuj.",
};

constexpr std::string_view win[] = {
    "nastoupil jsi do autobusu, který se okamžitě rozjel k domovu. po několika metrech vyšlehl z oken "
    "atariklubu záblesk, ozvala se rána a zoufalý křik jeho členů.",
    "z oken vylétají trosky počítačů, dveře vypadly z pantů a ven se valí dým spolu s přidušenými členy "
    "klubu. likvidátor vykonal své dílo a tvůj počítač je pomstěn. autor ti blahopřeje k dohrání hry.",
};

constexpr InventoryItem inventory[InventoryItemCount] = {
    {Var::liquidator, "likvidátor", " "},
    {Var::taxifare, "peníze", " "},
    // The salami's slot alone is emptied to nothing, not to a blank.
    {Var::salami, "salám", ""},
    {Var::cassette, "kazetu", " "},
    {Var::paper, "arch papíru", " "},
    {Var::milkbottle, "láhev s mlékem", " "},
    {Var::rum, "rum", " "},
    {Var::mask, "masku", " "},
    {Var::ladder, "žebřík", " "},
    {Var::pickaxe, "krumpáč", " "},
    {Var::diskette, "disketu", " "},
    {Var::money, "peníze", " "},
    {Var::picklock, "šperhák", " "},
    {Var::cable, "kabel", " "},
    {Var::key, "klíč", " "},
};

} // namespace

std::span<const std::string_view> IntroductionLines()
{
    return introduction;
}

std::span<const std::string_view> StoryParagraphs()
{
    return story;
}

std::span<const std::string_view> DeathLines(Death death)
{
    switch (death) {
    case Death::TaxiDriver:
        return taxiDriverDeath;
    case Death::Car:
        return carDeath;
    case Death::Dog:
        return dogDeath;
    case Death::Recognised:
        return recognisedDeath;
    case Death::Fuses:
        return fusesDeath;
    case Death::Gardener:
        return gardenerDeath;
    }
    return {};
}

std::span<const std::string_view> WinLines()
{
    return win;
}

std::span<const InventoryItem, InventoryItemCount> InventoryItems()
{
    return inventory;
}

} // namespace orbela::kvaldor
