// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/braille_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbela {
namespace {

BrailleTable Loaded(std::string_view fileBytes)
{
    BrailleTable table;
    EXPECT_FALSE(table.LoadBrailleTableText(fileBytes));
    return table;
}

// The results of a row of chords typed one after another.
std::vector<std::string> Type(BrailleTable& table, const std::vector<std::string>& chords)
{
    std::vector<std::string> results;
    for (const std::string& chord : chords)
        results.push_back(table.TranslateChord(chord));
    return results;
}

using Texts = std::vector<std::string>;

const char* const SmallTable =
    "[prefixes]\n"
    "#cap=6\n"
    "#num=3456\n"
    "[characters]\n"
    "a=1\n"
    "b=12\n"
    "l=123\n"
    "[#cap]\n"
    "A=1\n"
    "B=12\n"
    "[#num]\n"
    "1=1\n"
    "2=12\n";

TEST(TranslateChord, CapitalSignAppliesToTheNextLetterOnly)
{
    BrailleTable table = Loaded(SmallTable);
    EXPECT_EQ(table.TranslateChord("6"), "");
    EXPECT_EQ(table.activeprefix, "#cap");
    EXPECT_EQ(table.TranslateChord("12"), "B");
    EXPECT_EQ(table.activeprefix, "");
    EXPECT_EQ(Type(table, {"12", "1"}), (Texts{"b", "a"}));
}

TEST(TranslateChord, NumberSignStaysInEffectUntilTheSpaceChord)
{
    BrailleTable table = Loaded(SmallTable);
    EXPECT_EQ(Type(table, {"3456", "1", "12", "12", "1"}), (Texts{"", "1", "2", "2", "1"}));
    EXPECT_EQ(table.activeprefix, "#num");
    EXPECT_EQ(table.TranslateChord(" "), " ");
    EXPECT_EQ(table.activeprefix, "");
    EXPECT_EQ(table.TranslateChord("1"), "a");
}

TEST(TranslateChord, ChordWithoutEntryUnderThePrefixGivesNothingAndKeepsIt)
{
    BrailleTable table = Loaded(SmallTable);
    EXPECT_EQ(Type(table, {"3456", "123", "2"}), (Texts{"", "", ""}));
    EXPECT_EQ(table.activeprefix, "#num");
    EXPECT_EQ(Type(table, {"6", "123"}), (Texts{"", ""}));
    EXPECT_EQ(table.activeprefix, "#cap");
    EXPECT_EQ(table.TranslateChord("1"), "A");
}

TEST(TranslateChord, PrefixSignReplacesThePrefixInEffect)
{
    BrailleTable table = Loaded(SmallTable);
    EXPECT_EQ(Type(table, {"3456", "6", "1", "1"}), (Texts{"", "", "A", "a"}));
    EXPECT_EQ(Type(table, {"6", "3456", "1"}), (Texts{"", "", "1"}));
}

TEST(TranslateChord, PrefixDotsNeverYieldACharacter)
{
    BrailleTable table = Loaded(
        "[characters]\nx=6\n"
        "[prefixes]\n#cap=6\n"
        "[#cap]\nX=6\n");
    EXPECT_EQ(table.TranslateChord("6"), "");
    EXPECT_EQ(table.activeprefix, "#cap");
    EXPECT_EQ(table.TranslateChord("6"), "");
    EXPECT_EQ(table.activeprefix, "#cap");
}

TEST(TranslateChord, TheFirstOfEqualEntriesWins)
{
    BrailleTable table = Loaded(
        "[#cap]\nQ=1\n"
        "[characters]\na=1\nx=1\n"
        "[prefixes]\n#cap=6\n#big=6\n"
        "[characters]\ny=1\n");
    EXPECT_EQ(table.TranslateChord("1"), "a");
    EXPECT_EQ(table.TranslateChord("6"), "");
    EXPECT_EQ(table.activeprefix, "#cap");
    EXPECT_EQ(table.TranslateChord("1"), "Q");
}

TEST(TranslateChord, SpaceChordGivesASpaceWhateverTheTableSays)
{
    BrailleTable table = Loaded("[prefixes]\n#sp= \n#num=3456\n[characters]\nx= \n");
    EXPECT_EQ(table.TranslateChord("3456"), "");
    EXPECT_EQ(table.TranslateChord(" "), " ");
    EXPECT_EQ(table.activeprefix, "");
}

// An ordinary key held instead of a chord reads as an empty pattern; entries
// written with empty dots must not make it type or switch a prefix.
TEST(TranslateChord, EmptyPatternGivesNothingAndKeepsThePrefix)
{
    BrailleTable table = Loaded("[prefixes]\n#none=\n#num=3456\n[characters]\nempty=\n[#num]\nzero=\n");
    EXPECT_EQ(table.TranslateChord(""), "");
    EXPECT_EQ(table.activeprefix, "");
    table.TranslateChord("3456");
    EXPECT_EQ(table.TranslateChord(""), "");
    EXPECT_EQ(table.activeprefix, "#num");
}

TEST(LoadBrailleTable, PrefixesSectionTakesOnlyHashLinesCharactersTakeEveryLine)
{
    BrailleTable table = Loaded(
        "[prefixes]\n"
        "cap=6\n"
        "\n"
        " #sp=5\n"
        "#num=3456\n"
        "[characters]\n"
        "#=3456\n"
        "#cap=46\n"
        "\n"
        "a=1\n");
    ASSERT_EQ(table.prefixtable().size(), 1u);
    EXPECT_EQ(table.prefixtable()[0].name, "#num");
    EXPECT_EQ(table.prefixtable()[0].dots, "3456");
    ASSERT_EQ(table.braillechartable().size(), 3u);
    EXPECT_EQ(table.braillechartable()[0].character, "#");
    EXPECT_EQ(table.braillechartable()[1].character, "#cap");
    EXPECT_EQ(table.braillechartable()[1].dots, "46");
    EXPECT_EQ(table.TranslateChord("46"), "#cap");
    EXPECT_EQ(table.activeprefix, "");
}

TEST(LoadBrailleTable, SectionNamesDifferingInCaseOrTrailingBlankAreSkippedWhole)
{
    BrailleTable table = Loaded(
        "[Prefixes]\n#cap=6\n"
        "[prefixes] \n#num=3456\n"
        "[CHARACTERS]\na=1\n"
        "[characters] \nb=12\n"
        "[ characters]\nc=14\n"
        "[characters]x\nd=145\n"
        "[#Cap]\nE=15\n"
        "[characters]\nf=124\n");
    EXPECT_TRUE(table.prefixtable().empty());
    ASSERT_EQ(table.braillechartable().size(), 2u);
    // "[#Cap]" is a prefixed section of its own name: its entry is kept but
    // no prefix of that name exists to reach it.
    EXPECT_EQ(table.braillechartable()[0].prefix, "#Cap");
    EXPECT_EQ(table.braillechartable()[1].character, "f");
    EXPECT_EQ(Type(table, {"1", "12", "14", "145", "15", "124"}), (Texts{"", "", "", "", "", "f"}));
}

TEST(LoadBrailleTable, SectionNameIsTheLineWithoutItsFirstAndLastCharacter)
{
    BrailleTable table = Loaded(
        "[\nlone=1\n"
        "[]\nempty=12\n"
        "[#num\nnum=14\n"
        "[#cap]]\ncap=145\n"
        "[charactersx\nchar=15\n");
    ASSERT_EQ(table.braillechartable().size(), 3u);
    EXPECT_EQ(table.braillechartable()[0].prefix, "#nu");
    EXPECT_EQ(table.braillechartable()[1].prefix, "#cap]");
    EXPECT_EQ(table.braillechartable()[2].prefix, "");
    EXPECT_EQ(table.braillechartable()[2].character, "char");
}

TEST(LoadBrailleTable, SecondPrefixesSectionReplacesTheFirstCharacterSectionsAccumulate)
{
    BrailleTable table = Loaded(
        "[prefixes]\n#cap=6\n#num=3456\n"
        "[characters]\na=1\n"
        "[#cap]\nA=1\n"
        "[prefixes]\n#big=46\n"
        "[characters]\nb=12\n");
    ASSERT_EQ(table.prefixtable().size(), 1u);
    EXPECT_EQ(table.prefixtable()[0].name, "#big");
    ASSERT_EQ(table.braillechartable().size(), 3u);
    EXPECT_EQ(table.braillechartable()[0].character, "a");
    EXPECT_EQ(table.braillechartable()[1].prefix, "#cap");
    EXPECT_EQ(table.braillechartable()[2].character, "b");
    // The replaced signs are ordinary, unknown chords now.
    EXPECT_EQ(Type(table, {"6", "1", "3456", "12"}), (Texts{"", "a", "", "b"}));
    EXPECT_EQ(table.activeprefix, "");
}

TEST(LoadBrailleTable, LinesAreTakenVerbatimAndSplitAtTheFirstEquals)
{
    BrailleTable table = Loaded(
        "[prefixes]\n"
        "#odd\n"
        "#two=1=2\n"
        "[characters]\n"
        "a =1\n"
        " b=12\n"
        "c=14 \n"
        "==2356\n"
        "x=1=2\n"
        "plain\n");
    ASSERT_EQ(table.prefixtable().size(), 2u);
    EXPECT_EQ(table.prefixtable()[0].name, "#odd");
    EXPECT_EQ(table.prefixtable()[0].dots, "#odd");
    EXPECT_EQ(table.prefixtable()[1].name, "#two");
    EXPECT_EQ(table.prefixtable()[1].dots, "1=2");
    const auto entries = table.braillechartable();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].character, "a ");
    EXPECT_EQ(entries[1].character, " b");
    EXPECT_EQ(entries[2].dots, "14 ");
    EXPECT_EQ(entries[3].character, "");
    EXPECT_EQ(entries[3].dots, "=2356");
    EXPECT_EQ(entries[4].character, "x");
    EXPECT_EQ(entries[4].dots, "1=2");
    EXPECT_EQ(entries[5].character, "plain");
    EXPECT_EQ(entries[5].dots, "plain");
    // Malformed entries are stored but never match a chord.
    EXPECT_EQ(Type(table, {"1", "12", "14", "2356"}), (Texts{"a ", " b", "", ""}));
}

TEST(LoadBrailleTable, LinesBeforeTheFirstSectionAndInOtherSectionsAreIgnored)
{
    BrailleTable table = Loaded(
        "a=1\n"
        "#cap=6\n"
        "[notes]\n"
        "b=12\n"
        "#num=3456\n"
        "[characters]\n"
        "c=14\n"
        "[notes]\n"
        "d=145\n");
    EXPECT_TRUE(table.prefixtable().empty());
    ASSERT_EQ(table.braillechartable().size(), 1u);
    EXPECT_EQ(table.braillechartable()[0].character, "c");
}

TEST(LoadBrailleTable, SectionLineAfterTheLastEntryTakesNoSlot)
{
    BrailleTable table = Loaded("[characters]\na=1\nb=12\n[prefixes]\n[characters]\n[#cap]\n");
    EXPECT_EQ(table.braillechartable().size(), 2u);
    EXPECT_TRUE(table.prefixtable().empty());
}

TEST(LoadBrailleTable, LinesEndAtCrLfLfOrCrAndTheLastNeedsNoEnd)
{
    BrailleTable table = Loaded("[prefixes]\r\n#cap=6\r\n[characters]\ra=1\r\nb=12\nc=14\rd=145");
    ASSERT_EQ(table.prefixtable().size(), 1u);
    EXPECT_EQ(table.prefixtable()[0].dots, "6");
    ASSERT_EQ(table.braillechartable().size(), 4u);
    EXPECT_EQ(Type(table, {"1", "12", "14", "145"}), (Texts{"a", "b", "c", "d"}));
}

std::string PrefixLines(int count, int first = 0)
{
    std::string lines;
    for (int i = first; i < first + count; ++i)
        lines += "#p" + std::to_string(i) + "=x" + std::to_string(i) + "\n";
    return lines;
}

std::string CharacterLines(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "c" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    return lines;
}

TEST(LoadBrailleTable, PrefixesBeyondTenAreIgnoredAndReported)
{
    BrailleTable table;
    EXPECT_FALSE(table.LoadBrailleTableText("[prefixes]\n" + PrefixLines(10) + "[characters]\n" + CharacterLines(254)));
    const BrailleTableSurplus surplus = table.LoadBrailleTableText("[prefixes]\n" + PrefixLines(13));
    ASSERT_TRUE(surplus);
    EXPECT_EQ(surplus.prefixes, 3u);
    EXPECT_EQ(surplus.characters, 0u);
    EXPECT_EQ(surplus.Message(), "Braille table: ignored 3 prefix entries beyond the 10 slots");
    ASSERT_EQ(table.prefixtable().size(), 10u);
    EXPECT_EQ(table.prefixtable()[9].name, "#p9");
    EXPECT_EQ(table.TranslateChord("x10"), "");
    EXPECT_EQ(table.activeprefix, "");
    EXPECT_EQ(table.TranslateChord("x9"), "");
    EXPECT_EQ(table.activeprefix, "#p9");
}

TEST(LoadBrailleTable, EachPrefixesSectionHasTenSlotsOfItsOwn)
{
    BrailleTable table;
    const BrailleTableSurplus surplus =
        table.LoadBrailleTableText("[prefixes]\n" + PrefixLines(11) + "[prefixes]\n" + PrefixLines(10, 20));
    EXPECT_EQ(surplus.prefixes, 1u);
    ASSERT_EQ(table.prefixtable().size(), 10u);
    EXPECT_EQ(table.prefixtable()[0].name, "#p20");
    EXPECT_EQ(table.prefixtable()[9].name, "#p29");
}

TEST(LoadBrailleTable, CharactersBeyond254AreIgnoredAndReportedTogether)
{
    BrailleTable table;
    const BrailleTableSurplus surplus = table.LoadBrailleTableText(
        "[characters]\n" + CharacterLines(250) + "[#x]\nx=1\ny=2\nz=3\nw=4\nv=5\n[prefixes]\n" + PrefixLines(12));
    EXPECT_EQ(surplus.characters, 1u);
    EXPECT_EQ(surplus.prefixes, 2u);
    EXPECT_EQ(surplus.Message(),
              "Braille table: ignored 2 prefix entries beyond the 10 slots and 1 character entries beyond the 254 slots");
    ASSERT_EQ(table.braillechartable().size(), 254u);
    EXPECT_EQ(table.braillechartable()[253].character, "w");
    EXPECT_EQ(table.TranslateChord("249"), "c249");
    table.activeprefix = "#x";
    EXPECT_EQ(table.TranslateChord("4"), "w");
    table.activeprefix = "#x";
    EXPECT_EQ(table.TranslateChord("5"), "");
}

} // namespace
} // namespace orbela
