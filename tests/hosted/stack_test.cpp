// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/stack.h"

#include <gtest/gtest.h>

#include <limits>

#include "text/error.h"

namespace orbela {
namespace {

TEST(ReturnStack, PopsInReverseOrderOfPushes)
{
    ReturnStack stack;
    EXPECT_TRUE(stack.Empty());
    for (std::int32_t value : {7, -3, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(), 0})
        stack.Push(value);
    EXPECT_FALSE(stack.Empty());
    EXPECT_EQ(stack.Pop(), 0);
    EXPECT_EQ(stack.Pop(), std::numeric_limits<std::int32_t>::min());
    stack.Push(42);
    EXPECT_EQ(stack.Pop(), 42);
    EXPECT_EQ(stack.Pop(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(stack.Pop(), -3);
    EXPECT_EQ(stack.Pop(), 7);
    EXPECT_TRUE(stack.Empty());
}

TEST(ReturnStack, InitialiseEmptiesAndTheStackIsUsableAfterwards)
{
    ReturnStack stack;
    stack.Push(1);
    stack.Push(2);
    stack.Initialise();
    EXPECT_TRUE(stack.Empty());
    stack.Push(3);
    EXPECT_EQ(stack.Pop(), 3);
    EXPECT_TRUE(stack.Empty());
}

TEST(ReturnStack, PoppingAnEmptyStackRaisesAndLeavesItUsable)
{
    ReturnStack stack;
    EXPECT_THROW(stack.Pop(), Error);
    stack.Push(5);
    EXPECT_EQ(stack.Pop(), 5);
    EXPECT_THROW(stack.Pop(), Error);
}

// Millions of nodes would overflow the thread's stack if the nodes freed
// each other recursively.
TEST(ReturnStack, FreesAVeryDeepStackWithoutRecursion)
{
    constexpr std::int32_t depth = 3'000'000;
    {
        ReturnStack stack;
        for (std::int32_t i = 0; i < depth; ++i)
            stack.Push(i);
    }
    ReturnStack stack;
    for (std::int32_t i = 0; i < depth; ++i)
        stack.Push(i);
    stack.Initialise();
    EXPECT_TRUE(stack.Empty());
}

} // namespace
} // namespace orbela
