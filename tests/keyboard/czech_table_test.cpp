// SPDX-License-Identifier: GPL-3.0-or-later
// The authored data/czech.ebt: complete, every entry reachable by a chord,
// and in agreement with the Czech uncontracted braille of liblouis-data.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "keyboard/braille_table.h"
#include "louis_reference.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Cp;
using testing::Utf;

const std::filesystem::path CzechTableFile = ORBELA_DATA_SOURCE_DIR "/czech.ebt";
const std::filesystem::path LouisCzechTable = ORBELA_LOUIS_TABLES_DIR "/cs-g1.ctb";

const char* const SmallLetters = "aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž";
const char* const CapitalLetters = "AÁBCČDĎEÉĚFGHIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ";
const char* const Punctuation = ".,;:?!-()\"'/";
const char* const Digits = "0123456789";

BrailleTable CzechTable()
{
    BrailleTable table;
    BrailleTableSurplus surplus;
    EXPECT_NO_THROW(surplus = table.LoadBrailleTable(CzechTableFile)) << CzechTableFile;
    EXPECT_FALSE(surplus) << surplus.Message();
    return table;
}

// The number sign: the one prefix other than the capital sign.
std::string NumberPrefix(const BrailleTable& table)
{
    std::string name;
    for (const brlpreftype& prefix : table.prefixtable()) {
        if (prefix.name != CapitalPrefixName)
            name = prefix.name;
    }
    return name;
}

// Character -> dots of the entries under one prefix.
std::map<std::string, std::string> Section(const BrailleTable& table, const std::string& prefix)
{
    std::map<std::string, std::string> entries;
    for (const brlchartype& entry : table.braillechartable()) {
        if (entry.prefix == prefix)
            entries.emplace(entry.character, entry.dots);
    }
    return entries;
}

std::vector<std::string> CharactersOf(std::string_view utf8)
{
    std::vector<std::string> characters;
    for (char c : Cp(utf8))
        characters.emplace_back(1, c);
    return characters;
}

std::string PrefixDots(const BrailleTable& table, std::string_view name)
{
    for (const brlpreftype& prefix : table.prefixtable()) {
        if (prefix.name == name)
            return prefix.dots;
    }
    return {};
}

TEST(CzechTable, HasBothSignsEveryLetterCapitalPunctuationAndDigit)
{
    const BrailleTable table = CzechTable();
    ASSERT_EQ(table.prefixtable().size(), 2u);
    EXPECT_FALSE(PrefixDots(table, CapitalPrefixName).empty());
    const std::string number = NumberPrefix(table);
    ASSERT_FALSE(number.empty());

    const std::vector<std::pair<std::string, const char*>> required{
        {"", SmallLetters}, {"", Punctuation}, {std::string(CapitalPrefixName), CapitalLetters}, {number, Digits}};
    for (const auto& [prefix, characters] : required) {
        const auto section = Section(table, prefix);
        for (const std::string& character : CharactersOf(characters))
            EXPECT_TRUE(section.contains(character)) << "\"" << Utf(character) << "\" under \"" << prefix << "\"";
    }
}

TEST(CzechTable, EveryEntryIsOneCellThatAChordCanReach)
{
    const BrailleTable table = CzechTable();
    std::set<std::string> prefixDots;
    std::set<std::string> prefixNames;
    for (const brlpreftype& prefix : table.prefixtable()) {
        EXPECT_TRUE(prefixDots.insert(prefix.dots).second) << prefix.name;
        prefixNames.insert(prefix.name);
    }
    std::set<std::pair<std::string, std::string>> seen;
    for (const brlchartype& entry : table.braillechartable()) {
        const std::string where = "\"" + Utf(entry.character) + "\" under \"" + entry.prefix + "\"";
        EXPECT_EQ(entry.character.size(), 1u) << where;
        EXPECT_FALSE(entry.dots.empty()) << where;
        for (std::size_t i = 0; i < entry.dots.size(); ++i) {
            EXPECT_TRUE(entry.dots[i] >= '1' && entry.dots[i] <= '6') << where << " has dots " << entry.dots;
            if (i > 0) {
                EXPECT_LT(entry.dots[i - 1], entry.dots[i]) << where << " has dots " << entry.dots;
            }
        }
        EXPECT_FALSE(prefixDots.contains(entry.dots)) << where << " is hidden by a prefix sign";
        EXPECT_TRUE(seen.insert({entry.prefix, entry.dots}).second) << where << " is hidden by an earlier entry";
        EXPECT_TRUE(entry.prefix.empty() || prefixNames.contains(entry.prefix)) << where << " has no prefix sign";
    }
}

TEST(CzechTable, TypesACapitalisedWordAndANumber)
{
    BrailleTable table = CzechTable();
    const std::string capital = PrefixDots(table, CapitalPrefixName);
    const std::string number = PrefixDots(table, NumberPrefix(table));
    const std::vector<std::string> chords{capital, "2346", "123", "136", "1256", "135", "136", "146",
                                          "13",    "12346", " ", number, "1", "245", "2", "15", " ", "234"};
    std::string typed;
    for (const std::string& chord : chords)
        typed += table.TranslateChord(chord);
    EXPECT_EQ(Utf(typed), "Žluťoučký 10,5 s");
}

class CzechTableAgainstLiblouis : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(LouisCzechTable))
            GTEST_SKIP() << "liblouis-data is not installed: " << LouisCzechTable << " is missing";
        louis_ = testing::ReadLouisTable(LouisCzechTable);
        ASSERT_FALSE(louis_.characters.empty());
    }

    static char32_t CodePoint(const std::string& cp1250Character)
    {
        const auto codePoint = testing::SingleCodePoint(Utf(cp1250Character));
        EXPECT_TRUE(codePoint) << Utf(cp1250Character);
        return codePoint.value_or(0);
    }

    // Our one-cell dots against the reference's, which may be several cells.
    static void ExpectSameDots(const std::map<char32_t, std::string>& reference, char32_t codePoint,
                               const std::string& dots, const std::string& what)
    {
        const auto found = reference.find(codePoint);
        if (found == reference.end()) {
            ADD_FAILURE() << what << " is not in the reference";
            return;
        }
        EXPECT_EQ(dots, found->second) << what;
    }

    BrailleTable table_ = CzechTable();
    testing::LouisTable louis_;
};

TEST_F(CzechTableAgainstLiblouis, SmallLettersAndPunctuationHaveTheReferenceDots)
{
    for (const auto& [character, dots] : Section(table_, "")) {
        ExpectSameDots(louis_.characters, CodePoint(character), dots, "\"" + Utf(character) + "\"");
    }
}

// Both write a capital as the capital sign followed by the small letter's
// cell. The reference names the small letter of each capital.
TEST_F(CzechTableAgainstLiblouis, CapitalsAreTheCapitalSignAndTheSmallLetter)
{
    EXPECT_EQ(PrefixDots(table_, CapitalPrefixName), louis_.capsletter);
    for (const auto& [character, dots] : Section(table_, std::string(CapitalPrefixName))) {
        const auto base = louis_.capitalBase.find(CodePoint(character));
        if (base == louis_.capitalBase.end()) {
            ADD_FAILURE() << "\"" << Utf(character) << "\" is no capital in the reference";
            continue;
        }
        ExpectSameDots(louis_.characters, base->second, dots, "\"" + Utf(character) + "\"");
    }
}

// Digits are the cells of a to j after the number sign, and a comma or a
// point inside a number is the decimal point. One difference in use, not in
// dots: the reference puts dot 5 before a letter a to j that follows a
// number, while here a number sign stays in effect until the space chord,
// so a letter after a number is typed after a space.
TEST_F(CzechTableAgainstLiblouis, DigitsAndDecimalPointsFollowTheNumberSign)
{
    const std::string number = NumberPrefix(table_);
    EXPECT_EQ(PrefixDots(table_, number), louis_.numsign);
    for (const auto& [character, dots] : Section(table_, number)) {
        const char32_t codePoint = CodePoint(character);
        const bool digit = codePoint >= U'0' && codePoint <= U'9';
        ExpectSameDots(digit ? louis_.digits : louis_.decimalPoints, codePoint, dots, "\"" + Utf(character) + "\"");
    }
}

} // namespace
} // namespace orbela
