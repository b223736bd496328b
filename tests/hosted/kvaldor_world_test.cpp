// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of the room tables as data: what the game's dispatch relies on
// without ever testing it itself.

#include "hosted/kvaldor_world.h"

#include <gtest/gtest.h>

#include <set>

#include "hosted/kvaldor_text.h"
#include "support/fakes.h"

namespace orbela::kvaldor {
namespace {

bool Exclude(const Condition& a, const Condition& b)
{
    if (a.var != b.var)
        return false;
    if (a.relation == Relation::Is && b.relation == Relation::Is)
        return a.value != b.value;
    if (a.relation != b.relation)
        return a.value == b.value;
    return false;
}

bool ExcludeEachOther(const Conditions& a, const Conditions& b)
{
    for (std::size_t i = 0; i < a.Count(); ++i)
        for (std::size_t j = 0; j < b.Count(); ++j)
            if (Exclude(a[i], b[j]))
                return true;
    return false;
}

// Otherwise the later test could never decide, and the order of the
// table would silently change what a command does.
TEST(KvaldorWorld, TestsSharingACommandTextExcludeEachOther)
{
    for (const BlockData& block : Blocks()) {
        for (std::size_t i = 0; i < block.tests.size(); ++i)
            for (std::size_t j = i + 1; j < block.tests.size(); ++j) {
                const kvaldor::Test& a = block.tests[i];
                const kvaldor::Test& b = block.tests[j];
                if (a.command != b.command)
                    continue;
                EXPECT_TRUE(ExcludeEachOther(a.when, b.when))
                    << "block " << static_cast<int>(block.block) << ": tests " << i + 1 << " and " << j + 1
                    << " (" << a.command << ")";
            }
    }
}

TEST(KvaldorWorld, EveryBlockDescribesAndListsAndNeedsAtMostTwoConditions)
{
    for (const BlockData& block : Blocks()) {
        bool describes = false;
        bool lists = false;
        for (const kvaldor::Test& test : block.tests) {
            describes |= test.command == "situace" && test.outcome == Outcome::Redescribe;
            lists |= test.command == "inventář" && test.outcome == Outcome::Inventory;
            EXPECT_LE(test.when.Count(), 2u) << test.command;
            // Every text must have a Windows-1250 form, or the game would
            // fail the first time it meets it.
            EXPECT_NO_THROW(Cp1250(test.command));
            EXPECT_NO_THROW(Cp1250(test.answer));
        }
        EXPECT_TRUE(describes) << static_cast<int>(block.block);
        EXPECT_TRUE(lists) << static_cast<int>(block.block);
    }
}

TEST(KvaldorWorld, ReturnIdentifiersAreDistinctAndLeadBackToTheirBlock)
{
    std::set<std::int32_t> seen;
    for (const BlockData& block : Blocks()) {
        const std::int32_t inventory = InventoryReturn(block.block);
        const std::int32_t refusal = RefusalReturn(block.block);
        EXPECT_TRUE(seen.insert(inventory).second);
        EXPECT_TRUE(seen.insert(refusal).second);
        EXPECT_EQ(ResumeBlock(inventory), block.block);
        EXPECT_EQ(ResumeBlock(refusal), block.block);
    }
    EXPECT_EQ(seen.size(), 2 * BlockCount);
    for (std::int32_t stray : {0, -1, 100, 103, *seen.rbegin() + 1})
        EXPECT_FALSE(ResumeBlock(stray).has_value()) << stray;
}

TEST(KvaldorText, ConvertsOnceAndKeepsTheText)
{
    const std::string& first = Cp1250("vezmi klíč");
    EXPECT_EQ(first, testing::Cp("vezmi klíč"));
    EXPECT_EQ(&Cp1250(std::string("vezmi klíč")), &first);
}

} // namespace
} // namespace orbela::kvaldor
