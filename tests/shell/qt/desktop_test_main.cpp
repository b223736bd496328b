// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's tests run inside the program's own application object, so
// that its dispatch boundary is the one under test.

#include <gtest/gtest.h>

#include "i18n/qt/qt_test_support.h"
#include "shell/qt/orbela_application.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    orbela::testing::UseOffscreenPlatformByDefault();
    orbela::OrbelaApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
