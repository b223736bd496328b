// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/executable_path.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

TEST(ExecutablePathTest, IsTheRunningTestProgram)
{
    const fs::path path = ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "shell_tests");
    EXPECT_TRUE(fs::is_regular_file(path));
}

TEST(ExecutablePathTest, ConfigurationFileReplacesOnlyTheFileNamesExtension)
{
    EXPECT_EQ(ConfigurationPathFor("/opt/games/interpret.exe"), "/opt/games/interpret.ini");
    EXPECT_EQ(ConfigurationPathFor("/opt/games/orbela"), "/opt/games/orbela.ini");
    EXPECT_EQ(ConfigurationPathFor("/home/a/my.games/orbela"), "/home/a/my.games/orbela.ini");
    EXPECT_EQ(ConfigurationPathFor("/home/a/my.games/orbela.bin"), "/home/a/my.games/orbela.ini");
    EXPECT_EQ(ConfigurationPathFor("/opt/orbela.1.7"), "/opt/orbela.1.ini");
}

TEST(ExecutablePathTest, CaptionNameEndsAtTheFirstDotOfThePath)
{
    EXPECT_EQ(ExecutableCaptionName("/opt/games/orbela"), "orbela");
    EXPECT_EQ(ExecutableCaptionName("/opt/games/interpret.exe"), "interpret");
    EXPECT_EQ(ExecutableCaptionName("/home/a/my.games/orbela"), "my");
    EXPECT_EQ(ExecutableCaptionName("/home/a/my.games/orbela.bin"), "my");
    EXPECT_EQ(ExecutableCaptionName("/hry/překladač"), testing::Cp("překladač"));
}

} // namespace
} // namespace orbela
