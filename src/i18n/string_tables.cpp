// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/resource_localizer.h"

// The texts of the user interface in the source's own encoding (UTF-8); the
// localizer converts them to Windows-1250 once, on first use. The index of a
// text is the same in every language: string 0 is the language's own name,
// string 24 the stem of its character name file.

namespace orbela {

const std::array<LanguageTable, 3> LanguageTables = {{
    LanguageTable{LanguageCzech, {{  // Czech
        "Čeština",  // 0
        "Překladač Orbela Basicu",  // 1
        "&Program",  // 2
        "&Spustit",  // 3
        "Na&stavení",  // 4
        "Prostř&edí",  // 5
        "Provedené změny se projeví až poté, co znovu spustíte program.",  // 6
        "&Ok",  // 7
        "Zrušit",  // 8
        "&jazyk",  // 9
        "Nastavení prostředí",  // 10
        "Nastavení hlasu",  // 11
        "&Hlasy",  // 12
        "&Výška",  // 13
        "&Rychlost",  // 14
        "Hla&sitost",  // 15
        "Zvolit hl&as",  // 16
        "Za&vřít",  // 17
        "Používání hlasu není povoleno. Povolit jej můžete v menu Nastavení/Zvuky.",  // 18
        "Hlas vybrán.",  // 19
        "&Zvuky",  // 20
        "Nastavení zvuků",  // 21
        "Povolit &hlas",  // 22
        "Vlož data",  // 23
        "czech",  // 24
        "hotovo",  // 25
        "Obrazovka",  // 26
        "Používat hlas SA&PI5",  // 27
        "H&lasitost zvuků",  // 28
        "prázdný řádek",  // 29
        "konec obrazovky",  // 30
        "řádek",  // 31
        "sloupec",  // 32
        "Kon&ec",  // 33
        "Ná&pověda",  // 34
        "O progr&amu",  // 35
        "O programu",  // 36
        "verze",  // 37
        "&Hlas",  // 38
        "Zvuky &Orbely",  // 39
        "Nelze povolit hlas. Žádné hlasy nejsou k dispozici.",  // 40
        "Obrazovka je plná.",  // 41
        "Nelze nalézt soubor",  // 42
        "Nelze nalézt hlas uvedený v ini souboru:",  // 43
        "Prosím přepiš",  // 44
        "U&končit program",  // 45
        "&Braillská klávesnice",  // 46
    }}},
    LanguageTable{LanguageEnglish, {{  // English
        "English",  // 0
        "Orbela Basic Interpreter",  // 1
        "&Program",  // 2
        "&Start",  // 3
        "&Settings",  // 4
        "&Environment",  // 5
        "Your changes will be applied after you restart the program.",  // 6
        "&OK",  // 7
        "Cancel",  // 8
        "&Language",  // 9
        "environment settings",  // 10
        "Voice settings",  // 11
        "&Voices",  // 12
        "&Pitch",  // 13
        "&Speed",  // 14
        "Vo&lume",  // 15
        "&Choose voice",  // 16
        "&Close",  // 17
        "The voice is turned off. You can turn it on in the Sounds dialog, menu Settings",  // 18
        "Voice selected.",  // 19
        "&Sounds",  // 20
        "Sounds settings",  // 21
        "Use the &voice",  // 22
        "Enter data",  // 23
        "english",  // 24
        "ready",  // 25
        "Screen",  // 26
        "Use SA&PI5 voice",  // 27
        "Sound vo&lume",  // 28
        "empty line",  // 29
        "end of screen",  // 30
        "line",  // 31
        "column",  // 32
        "&Exit",  // 33
        "Hel&p",  // 34
        "&About",  // 35
        "About",  // 36
        "version",  // 37
        "&Voice",  // 38
        "&Orbela sounds",  // 39
        "Can't allow voice, no voices are available",  // 40
        "The screen is full.",  // 41
        "Can't find the file",  // 42
        "Can't find the voice specified in the ini file:",  // 43
        "Please retype",  // 44
        "E&xit program",  // 45
        "&Braille keyboard",  // 46
    }}},
    LanguageTable{LanguageSlovak, {{  // Slovak
        "Slovenčina",  // 0
        "Prekladač Orbela Basicu",  // 1
        "&Program",  // 2
        "&Spustiť",  // 3
        "Na&stavenia",  // 4
        "Prostr&edie",  // 5
        "Vykonané zmeny sa prejavia až po najbližšom spustení programu.",  // 6
        "&Ok",  // 7
        "Zrušiť",  // 8
        "&jazyk",  // 9
        "Nastavenie prostredia",  // 10
        "Nastavenie hlasu",  // 11
        "&Hlasy",  // 12
        "&Výška",  // 13
        "&Rýchlosť",  // 14
        "Hla&sitosť",  // 15
        "Zvoliť hl&as",  // 16
        "Za&vrieť",  // 17
        "Používanie hlasu nie je povolené. Povoliť ho môžete v menu Nastavenia/Zvuky.",  // 18
        "Hlas vybratý.",  // 19
        "&Zvuky",  // 20
        "Nastavenie zvukov",  // 21
        "Povoliť &hlas",  // 22
        "Vlož data",  // 23
        "slovak",  // 24
        "hotovo",  // 25
        "Obrazovka",  // 26
        "Používať hlas SA&PI5",  // 27
        "H&lasitosť zvukov",  // 28
        "prázdny riadok",  // 29
        "koniec obrazovky",  // 30
        "riadok",  // 31
        "stĺpec",  // 32
        "Koni&ec",  // 33
        "&Pomoc",  // 34
        "O progr&ame",  // 35
        "O programe",  // 36
        "verzia",  // 37
        "&Hlas",  // 38
        "Zvuky &Orbely",  // 39
        "Nie je možné povoliť hlas. Žiadne hlasy nie sú k dispozícii.",  // 40
        "Obrazovka je plná.",  // 41
        "Nie je možné nájsť súbor",  // 42
        "Nie je možné nájsť hlas, uvedený v ini súbore:",  // 43
        "Prosím prepíš",  // 44
        "U&končiť program",  // 45
        "&Braillská klávesnica",  // 46
    }}},
}};

} // namespace orbela
