// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/taboutbox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "i18n/product_info.h"
#include "i18n/qt/qt_test_support.h"

namespace orbela {
namespace {

struct AboutTexts {
    int language;
    const char* caption;
    const char* productName;
    const char* version;
    const char* ok;
};

class AboutBoxTest : public ::testing::TestWithParam<AboutTexts> {};

TEST_P(AboutBoxTest, ShowsProductAndVersionInTheLanguageAndClosesWithOk)
{
    const AboutTexts& expected = GetParam();
    TAboutbox about(expected.language);
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(about.ProductName->text(), QString::fromUtf8(expected.productName));
    EXPECT_EQ(about.Version->text(), QString::fromUtf8(expected.version));
    EXPECT_EQ(about.OKButton->text(), QString::fromUtf8(expected.ok));
    // The copyright and licence lines are those --version prints.
    EXPECT_EQ(about.Copyright->text(), QString::fromStdString(CopyrightLine() + "\n" + LicenceLine()));
    EXPECT_TRUE(about.Comments->text().isEmpty());
    EXPECT_TRUE(about.Comments->wordWrap());
    EXPECT_EQ(about.Version->accessibleName(), about.Version->text());

    int result = -1;
    bool iconShown = false;
    testing::WhenModal(&about, [&] {
        iconShown = !about.ProgramIcon->pixmap().isNull();
        testing::SendKey(about.OKButton, Qt::Key_Return);
    });
    result = about.exec();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(iconShown);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, AboutBoxTest,
    ::testing::Values(AboutTexts{2000, "About", "Orbela Basic Interpreter", "version 1.7", "&OK"},
                      AboutTexts{1000, "O programu", "Překladač Orbela Basicu", "verze 1.7", "&Ok"},
                      AboutTexts{3000, "O programe", "Prekladač Orbela Basicu", "verzia 1.7", "&Ok"}));

} // namespace
} // namespace orbela
