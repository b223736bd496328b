#include <gtest/gtest.h>

#include <chrono>

#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

using RuntimeStateTest = RuntimeTest;

TEST_F(RuntimeStateTest, ResetRestoresTheRunDefaultsButKeepsRowAndScreen)
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

TEST_F(RuntimeStateTest, PeekReadsTheByteAtTheWholeAddress)
{
    auto& image = runtime.State().ramimage;
    image[0] = 3;
    image[50730] = 0xA5;
    image[65535] = 0x7F;
    EXPECT_EQ(runtime.Peek(50730.9), 0xA5);
    EXPECT_EQ(runtime.Peek(50730.0), 0xA5);
    EXPECT_EQ(runtime.Peek(50731.0), 0);
    EXPECT_EQ(runtime.Peek(65535.99), 0x7F);
    EXPECT_EQ(runtime.Peek(0.0), 3);
    EXPECT_EQ(runtime.Peek(-0.5), 3);  // truncated toward zero
}

TEST_F(RuntimeStateTest, PeekOutsideTheImageReadsZero)
{
    runtime.State().ramimage.fill(0xFF);
    EXPECT_EQ(runtime.Peek(65536.0), 0);
    EXPECT_EQ(runtime.Peek(-1.0), 0);
    EXPECT_EQ(runtime.Peek(1e300), 0);
    EXPECT_EQ(runtime.Peek(-1e300), 0);
    EXPECT_EQ(runtime.Peek(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(runtime.Peek(std::numeric_limits<double>::infinity()), 0);
}

TEST_F(RuntimeStateTest, SleepWaitsOnTheClock)
{
    using std::chrono::milliseconds;
    runtime.Sleep(milliseconds(1500));
    runtime.Sleep(milliseconds(0));
    runtime.Sleep(milliseconds(-20));
    EXPECT_EQ(clock.Now(), milliseconds(1500));
    EXPECT_TRUE(speech.spoken.empty());
}

} // namespace
} // namespace orbela::testing
