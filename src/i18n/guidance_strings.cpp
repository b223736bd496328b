// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/guidance_strings.h"

#include <array>
#include <cstddef>
#include <initializer_list>

#include "i18n/resource_localizer.h"
#include "text/cp1250.h"

namespace orbela {
namespace {

constexpr std::size_t Count = static_cast<std::size_t>(GuidanceString::ControlCount);
using Texts = std::array<const char*, Count>;

// Same order as the enumeration. The greeting begins with the product name
// of the string tables (string 1).
constexpr Texts Czech{
    "Hru spustíte klávesami Ctrl+S. Seznam kláves je v nabídce Nápověda, Klávesy, nebo pod klávesou F1.",
    "&Klávesy",
    "Klávesy",
};
constexpr Texts English{
    "Press Ctrl+S to start the game. The list of keys is in the Help menu, Keys, or under F1.",
    "&Keys",
    "Keys",
};
constexpr Texts Slovak{
    "Hru spustíte klávesmi Ctrl+S. Zoznam klávesov je v ponuke Pomoc, Klávesy, alebo pod klávesom F1.",
    "&Klávesy",
    "Klávesy",
};

struct Section {
    const char* title;
    std::initializer_list<const char*> lines;
};

const std::initializer_list<Section> CzechKeys{
    {"Hlavní okno",
     {"Ctrl+S: spustí hru (Program, Spustit).",
      "Kterákoli klávesa: utiší řeč. Nejvhodnější je Shift, který nic nepíše.",
      "Šipka nahoru nebo dolů: otevře prohlížení obrazovky, jakmile byla hra spuštěna.",
      "F10 nebo Alt: otevře nabídku. F1: tento seznam kláves.",
      "Ctrl+B: zapne nebo vypne braillskou klávesnici.",
      "Ctrl+D: zvuky. Ctrl+H: hlas. Ctrl+P: přepne na řečovou službu systému. Ctrl+E: prostředí.",
      "Alt+F4: uloží ram.dat a ukončí program."}},
    {"Dialog pro zadávání",
     {"Každý příkaz hry se píše do řádku v dialogu; každá klávesa je vyslovena.",
      "Enter: pošle řádek hře. Escape nedělá nic.",
      "Šipka vlevo, vpravo, Home, End: posune kurzor a řekne znak vpravo od něj.",
      "Ctrl+šipka vlevo nebo vpravo: předchozí nebo další slovo.",
      "Backspace a Delete: smažou znak a řeknou ho. Alt+šipka nahoru: přečte celý řádek.",
      "Šipka nahoru nebo dolů: otevře prohlížení obrazovky.",
      "Tab: tlačítka OK a Ukončit program. Alt+F4 nebo Ukončit program: uloží a ukončí program."}},
    {"Prohlížení obrazovky",
     {"Šipka nahoru a dolů: přečte řádek. Šipka vlevo, vpravo, Home, End: přečte znak.",
      "Ctrl+šipka vlevo a vpravo: přečte předchozí nebo další slovo.",
      "Ctrl+Home a Ctrl+End: začátek a konec textu.",
      "F2: řekne řádek a sloupec kurzoru.",
      "Escape: zavře prohlížení a vrátí vás, kde jste byli."}},
    {"Braillská klávesnice (Ctrl+B)",
     {"F, D, S jsou body 1, 2, 3; J, K, L jsou body 4, 5, 6; mezerník je mezera.",
      "Stiskněte klávesy jednoho znaku společně a pusťte je: znak se vloží, když pustíte první klávesu.",
      "Bod 6 (L) sám: další písmeno bude velké. Body 3, 4, 5, 6 (S+J+K+L): následují číslice."}},
};

const std::initializer_list<Section> EnglishKeys{
    {"Main window",
     {"Ctrl+S: starts the game (Program, Start).",
      "Any key: stops the speech. Shift is best, as it types nothing.",
      "Up or Down arrow: opens the screen review, once the game has been started.",
      "F10 or Alt: opens the menu bar. F1: this list of keys.",
      "Ctrl+B: switches the braille keyboard on or off.",
      "Ctrl+D: sounds. Ctrl+H: voice. Ctrl+P: switches to the desktop's speech service. Ctrl+E: environment.",
      "Alt+F4: saves ram.dat and ends the program."}},
    {"Data-entry dialog",
     {"Every command of the game is typed into the dialog's line; every key is spoken.",
      "Enter: sends the line to the game. Escape does nothing.",
      "Left, Right, Home, End: move the caret and say the character right of it.",
      "Ctrl+Left or Ctrl+Right: the previous or next word.",
      "Backspace and Delete: delete a character and say it. Alt+Up: reads the whole line.",
      "Up or Down arrow: opens the screen review.",
      "Tab: the OK and Exit program buttons. Alt+F4 or Exit program: saves and ends the program."}},
    {"Screen review",
     {"Up and Down arrow: read a line. Left, Right, Home, End: read a character.",
      "Ctrl+Left and Ctrl+Right: read the previous or next word.",
      "Ctrl+Home and Ctrl+End: the start and the end of the text.",
      "F2: says the caret's line and column.",
      "Escape: closes the review and returns to where you were."}},
    {"Braille keyboard (Ctrl+B)",
     {"F, D, S are dots 1, 2, 3; J, K, L are dots 4, 5, 6; Space is the space.",
      "Press the keys of one character together and let go: it is typed when the first key is released.",
      "Dot 6 (L) alone: the next letter is a capital. Dots 3, 4, 5, 6 (S+J+K+L): digits follow."}},
};

const std::initializer_list<Section> SlovakKeys{
    {"Hlavné okno",
     {"Ctrl+S: spustí hru (Program, Spustiť).",
      "Ktorýkoľvek kláves: utíši reč. Najvhodnejší je Shift, ktorý nič nepíše.",
      "Šípka hore alebo dole: otvorí prezeranie obrazovky, keď už bola hra spustená.",
      "F10 alebo Alt: otvorí ponuku. F1: tento zoznam klávesov.",
      "Ctrl+B: zapne alebo vypne braillovskú klávesnicu.",
      "Ctrl+D: zvuky. Ctrl+H: hlas. Ctrl+P: prepne na rečovú službu systému. Ctrl+E: prostredie.",
      "Alt+F4: uloží ram.dat a ukončí program."}},
    {"Dialóg na zadávanie",
     {"Každý príkaz hry sa píše do riadka v dialógu; každý kláves je vyslovený.",
      "Enter: pošle riadok hre. Escape nerobí nič.",
      "Šípka vľavo, vpravo, Home, End: posunie kurzor a povie znak vpravo od neho.",
      "Ctrl+šípka vľavo alebo vpravo: predchádzajúce alebo ďalšie slovo.",
      "Backspace a Delete: zmažú znak a povedia ho. Alt+šípka hore: prečíta celý riadok.",
      "Šípka hore alebo dole: otvorí prezeranie obrazovky.",
      "Tab: tlačidlá OK a Ukončiť program. Alt+F4 alebo Ukončiť program: uloží a ukončí program."}},
    {"Prezeranie obrazovky",
     {"Šípka hore a dole: prečíta riadok. Šípka vľavo, vpravo, Home, End: prečíta znak.",
      "Ctrl+šípka vľavo a vpravo: prečíta predchádzajúce alebo ďalšie slovo.",
      "Ctrl+Home a Ctrl+End: začiatok a koniec textu.",
      "F2: povie riadok a stĺpec kurzora.",
      "Escape: zavrie prezeranie a vráti vás tam, kde ste boli."}},
    {"Braillská klávesnica (Ctrl+B)",
     {"F, D, S sú body 1, 2, 3; J, K, L sú body 4, 5, 6; medzerník je medzera.",
      "Stlačte klávesy jedného znaku spolu a pustite ich: znak sa vloží, keď pustíte prvý kláves.",
      "Bod 6 (L) sám: ďalšie písmeno bude veľké. Body 3, 4, 5, 6 (S+J+K+L): nasledujú číslice."}},
};

} // namespace

std::string GuidanceText(int language, GuidanceString which)
{
    const Texts& texts = language == LanguageCzech ? Czech : language == LanguageSlovak ? Slovak : English;
    const std::string text = Utf8ToCp1250Lossy(texts[static_cast<std::size_t>(which)]);
    if (which != GuidanceString::Welcome)
        return text;
    return TResourceLocalizer::LoadLanguageString(language, 1) + ". " + text;
}

std::vector<KeyHelpSection> KeyHelp(int language)
{
    const auto& sections = language == LanguageCzech   ? CzechKeys
                           : language == LanguageSlovak ? SlovakKeys
                                                        : EnglishKeys;
    std::vector<KeyHelpSection> help;
    for (const Section& section : sections) {
        KeyHelpSection& added = help.emplace_back();
        added.title = Utf8ToCp1250Lossy(section.title);
        for (const char* line : section.lines)
            added.lines.push_back(Utf8ToCp1250Lossy(line));
    }
    return help;
}

std::string KeyHelpText(int language)
{
    std::string text = GuidanceText(language, GuidanceString::KeysTitle) + "\n";
    for (const KeyHelpSection& section : KeyHelp(language)) {
        text += "\n" + section.title + "\n";
        for (const std::string& line : section.lines)
            text += "- " + line + "\n";
    }
    return text;
}

} // namespace orbela
