// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests run inside one application object, on the offscreen platform
// unless another is chosen.

#include <gtest/gtest.h>

#include <QApplication>

#include "i18n/qt/qt_test_support.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    orbela::testing::UseOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
