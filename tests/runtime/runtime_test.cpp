// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

using RuntimeStateTest = RuntimeTest;

TEST_F(RuntimeStateTest, ResetRestoresTheRunDefaultsButKeepsTheRowAndTheScreen)
{
    runtime.Print("earlier run", LineEnd::Stay);
    PlaceCursor(11, 9);
    runtime.State().pendinginput = "rest";
    runtime.State().sndwaveset = 4;
    runtime.State().sndduration = 250;
    runtime.ResetRuntime();
    EXPECT_EQ(runtime.State().pendinginput, "");
    EXPECT_EQ(runtime.State().sndwaveset, 1);
    EXPECT_EQ(runtime.State().sndduration, 1);
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 9);
    EXPECT_EQ(ScreenRow(0).substr(0, 11), "earlier run");
}

TEST_F(RuntimeStateTest, PeekReadsTheByteAtTheWholeAddressAndZeroOffTheImage)
{
    auto& image = runtime.State().ramimage;
    image.fill(0xEE);
    image[0] = 3;
    image[50730] = 0xA5;
    image[50731] = 0;
    image[65535] = 0x7F;
    EXPECT_EQ(runtime.Peek(50730.9), 0xA5);
    EXPECT_EQ(runtime.Peek(50731.0), 0);
    EXPECT_EQ(runtime.Peek(65535.99), 0x7F);
    EXPECT_EQ(runtime.Peek(-0.5), 3);  // truncated toward zero
    for (double outside : {65536.0, -1.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
             -std::numeric_limits<double>::infinity()})
        EXPECT_EQ(runtime.Peek(outside), 0) << outside;
}

TEST_F(RuntimeStateTest, SleepWaitsOnTheClock)
{
    runtime.Sleep(std::chrono::milliseconds(1500));
    runtime.Sleep(std::chrono::milliseconds(-20));
    EXPECT_EQ(clock.Now(), std::chrono::milliseconds(1500));
}

} // namespace
} // namespace orbela::testing
