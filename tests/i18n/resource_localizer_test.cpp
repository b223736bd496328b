// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/resource_localizer.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Cp;
using testing::Utf;

struct Expected {
    int language;
    int index;
    const char* utf8;
};

// Texts copied by hand, so a slip in the tables shows here.
constexpr Expected SpotChecks[] = {
    {LanguageCzech, 0, "Čeština"},
    {LanguageCzech, 1, "Překladač Orbela Basicu"},
    {LanguageCzech, 6, "Provedené změny se projeví až poté, co znovu spustíte program."},
    {LanguageCzech, 18, "Používání hlasu není povoleno. Povolit jej můžete v menu Nastavení/Zvuky."},
    {LanguageCzech, 24, "czech"},
    {LanguageCzech, 34, "Ná&pověda"},
    {LanguageEnglish, 0, "English"},
    {LanguageEnglish, 1, "Orbela Basic Interpreter"},
    {LanguageEnglish, 18, "The voice is turned off. You can turn it on in the Sounds dialog, menu Settings"},
    {LanguageEnglish, 24, "english"},
    {LanguageEnglish, 27, "Use SA&PI5 voice"},
    {LanguageEnglish, 34, "Hel&p"},
    {LanguageSlovak, 0, "Slovenčina"},
    {LanguageSlovak, 6, "Vykonané zmeny sa prejavia až po najbližšom spustení programu."},
    {LanguageSlovak, 24, "slovak"},
    {LanguageSlovak, 32, "stĺpec"},
    {LanguageSlovak, 34, "&Pomoc"},
    {LanguageSlovak, 40, "Nie je možné povoliť hlas. Žiadne hlasy nie sú k dispozícii."},
    {LanguageSlovak, 43, "Nie je možné nájsť hlas, uvedený v ini súbore:"},
};

TEST(ResourceLocalizerTest, TextsAreExactAndInWindows1250)
{
    for (const Expected& expected : SpotChecks) {
        EXPECT_EQ(LoadLanguageString(expected.language, expected.index), Cp(expected.utf8))
            << expected.language << "+" << expected.index << ": "
            << Utf(LoadLanguageString(expected.language, expected.index));
    }
    // One byte per letter: "Čeština" is seven characters.
    EXPECT_EQ(LoadLanguageString(LanguageCzech, 0), "\xC8" "e\x9Atina");
}

TEST(ResourceLocalizerTest, EveryLanguageHas47NonEmptyStrings)
{
    for (const int language : {LanguageCzech, LanguageEnglish, LanguageSlovak}) {
        for (int index = 0; index < LanguageStringCount; ++index) {
            const std::string text = LoadLanguageString(language, index);
            EXPECT_FALSE(text.empty()) << language << "+" << index;
            EXPECT_LE(text.size(), 255u);
        }
    }
    // Texts the program builds names and messages from differ per language.
    EXPECT_NE(LoadLanguageString(LanguageCzech, 25), LoadLanguageString(LanguageEnglish, 25));
    EXPECT_EQ(LoadLanguageString(LanguageCzech, 25), LoadLanguageString(LanguageSlovak, 25));
}

TEST(ResourceLocalizerTest, MissingStringsAreEmpty)
{
    EXPECT_EQ(LoadLanguageString(LanguageCzech, 47), "");
    EXPECT_EQ(LoadLanguageString(LanguageEnglish, -1), "");
    EXPECT_EQ(LoadLanguageString(1500, 0), "");
    EXPECT_EQ(LoadLanguageString(1500, 24), "");
    EXPECT_EQ(LoadLanguageString(4000, 0), "");
    EXPECT_EQ(LoadLanguageString(0, 0), "");
    EXPECT_EQ(LoadLanguageString(-1000, 0), "");
    // Near numbers are not other strings of the same block.
    EXPECT_EQ(LoadLanguageString(1001, 0), "");
    EXPECT_EQ(LoadLanguageString(LanguageCzech, 1000), "");
    EXPECT_EQ(LoadLanguageString(2147483647, 1), "");
}

TEST(ResourceLocalizerTest, SlovakCharacterNameFileStem)
{
    EXPECT_EQ(LoadLanguageString(3000, 24), "slovak");
}

TEST(ResourceLocalizerTest, LanguageListHasTheThreeLanguagesInOrder)
{
    std::vector<LanguageListItem> list{{"stale", 9}};
    TResourceLocalizer::FillLanguageList(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, Cp("Čeština"));
    EXPECT_EQ(list[0].number, 1000);
    EXPECT_EQ(list[1].name, "English");
    EXPECT_EQ(list[1].number, 2000);
    EXPECT_EQ(list[2].name, Cp("Slovenčina"));
    EXPECT_EQ(list[2].number, 3000);
}

} // namespace
} // namespace orbela
