// SPDX-License-Identifier: GPL-3.0-or-later
// The speech windows' tests run inside the program's own application
// object, on the offscreen platform unless another is chosen. The child
// processes of the tests that end the program re-run this binary.

#include <gtest/gtest.h>

#include "i18n/qt/qt_test_support.h"
#include "shell/qt/orbela_application.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    orbela::testing::UseOffscreenPlatformByDefault();
    orbela::OrbelaApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
