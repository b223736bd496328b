// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/qt/tform3.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <vector>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "text/error.h"
#include "settings/configuration.h"
#include "settings/ini_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::Cp;
using testing::TempFolder;
using testing::WhenModal;

class EnvironmentDialogTest : public ::testing::Test {
protected:
    EnvironmentDialogTest() : configuration(folder / "orbela.ini")
    {
        SetMessageBoxHook([this](const QString& text, MessageKind) { messages.push_back(text); });
    }
    ~EnvironmentDialogTest() override { SetMessageBoxHook({}); }

    void Configure(int configured) { WriteLanguage(configuration, configured); }

    // A radio button takes a click on its circle or its text, not anywhere
    // on its row.
    static void Click(QRadioButton* item)
    {
        QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(6, item->height() / 2));
    }

    QRadioButton* Item(TForm3& dialog, int number)
    {
        return dialog.languagergroup->findChild<QRadioButton*>(QString("language%1").arg(number));
    }

    // Opens the dialog from the menu command and answers it with `answer`.
    void Open(TForm3& dialog, std::function<void()> answer)
    {
        WhenModal(&dialog, std::move(answer));
        dialog.ShowEnvironment();
    }

    TempFolder folder;
    IniFile configuration;
    int language = 1000;
    std::vector<QString> messages;
};

TEST_F(EnvironmentDialogTest, ListsTheLanguagesAndOpensOnTheConfiguredOneInItsTexts)
{
    Configure(2000);
    TForm3 dialog(configuration, language);
    EXPECT_EQ(language, 2000);

    const auto items = dialog.languagergroup->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Čeština");
    EXPECT_EQ(items[1]->text(), "English");
    EXPECT_EQ(items[2]->text(), "Slovenčina");

    int selectedWhileOpen = -1;
    QString caption, group, ok, cancel;
    Open(dialog, [&] {
        selectedWhileOpen = dialog.SelectedIndex();
        caption = dialog.windowTitle();
        group = dialog.languagergroup->title();
        ok = dialog.okbitbtn->text();
        cancel = dialog.cancelbitbtn->text();
        dialog.cancelbitbtn->click();
    });
    EXPECT_EQ(selectedWhileOpen, 1);
    EXPECT_EQ(caption, "environment settings");
    EXPECT_EQ(group, "&Language");
    EXPECT_EQ(ok, "&OK");
    EXPECT_EQ(cancel, "Cancel");
    EXPECT_EQ(dialog.accessibleName(), "environment settings");
    EXPECT_EQ(dialog.okbitbtn->accessibleName(), "OK");
}

TEST_F(EnvironmentDialogTest, ClickingAnItemRelabelsAtOnceAndOkWritesItWithTheNewLanguagesMessage)
{
    Configure(2000);
    TForm3 dialog(configuration, language);
    QString caption, group, ok, cancel;
    Open(dialog, [&] {
        Click(Item(dialog, 3000));
        caption = dialog.windowTitle();
        group = dialog.languagergroup->title();
        ok = dialog.okbitbtn->text();
        cancel = dialog.cancelbitbtn->text();
        QTest::mouseClick(dialog.okbitbtn, Qt::LeftButton);
    });
    EXPECT_EQ(caption, "Nastavenie prostredia");
    EXPECT_EQ(group, "&jazyk");
    EXPECT_EQ(ok, "&Ok");
    EXPECT_EQ(cancel, "Zrušiť");
    EXPECT_EQ(language, 3000);
    EXPECT_EQ(ReadLanguage(configuration), 3000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Vykonané zmeny sa prejavia až po najbližšom spustení programu.");
}

TEST_F(EnvironmentDialogTest, OkOnTheSameLanguageWritesItAgainWithoutAMessage)
{
    Configure(1000);
    TForm3 dialog(configuration, language);
    std::filesystem::remove(configuration.Path());
    int languageBetween = 0;
    Open(dialog, [&] {
        // Going away and back again is no change.
        Click(Item(dialog, 2000));
        languageBetween = language;
        Click(Item(dialog, 1000));
        dialog.okbitbtn->click();
    });
    EXPECT_EQ(languageBetween, 2000);
    EXPECT_TRUE(configuration.Exists());
    EXPECT_EQ(configuration.ReadInteger("environment", "language", 0), 1000);
    EXPECT_TRUE(messages.empty());
}

TEST_F(EnvironmentDialogTest, CancelWritesNothingButKeepsTheClickedLanguageForLaterStrings)
{
    Configure(1000);
    TForm3 dialog(configuration, language);
    Open(dialog, [&] {
        Click(Item(dialog, 2000));
        dialog.cancelbitbtn->click();
    });
    EXPECT_EQ(language, 2000);
    EXPECT_EQ(ReadLanguage(configuration), 1000);
    EXPECT_TRUE(messages.empty());
    // The next opening starts from the clicked language.
    int selected = -1;
    Open(dialog, [&] {
        selected = dialog.SelectedIndex();
        dialog.cancelbitbtn->click();
    });
    EXPECT_EQ(selected, 1);
}

TEST_F(EnvironmentDialogTest, AnUnknownLanguageSelectsNoItemAndStaysUntilOneIsClicked)
{
    Configure(1500);
    TForm3 dialog(configuration, language);
    EXPECT_EQ(language, 1500);
    EXPECT_EQ(dialog.windowTitle(), "");
    EXPECT_EQ(dialog.okbitbtn->text(), "");

    std::vector<bool> checked;
    Open(dialog, [&] {
        for (int number : {1000, 2000, 3000})
            checked.push_back(Item(dialog, number)->isChecked());
        dialog.okbitbtn->click();
    });
    EXPECT_EQ(checked, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(language, 1500);
    EXPECT_EQ(ReadLanguage(configuration), 1500);
    EXPECT_TRUE(messages.empty());

    Open(dialog, [&] {
        Click(Item(dialog, 1000));
        dialog.okbitbtn->click();
    });
    EXPECT_EQ(language, 1000);
    EXPECT_EQ(ReadLanguage(configuration), 1000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Provedené změny se projeví až poté, co znovu spustíte program.");
}

TEST_F(EnvironmentDialogTest, AnUnwritableFileEndsTheCommandBeforeTheMessage)
{
    TempFolder other;
    testing::WriteBytes(other / "file", "not a folder");
    IniFile unwritable(other / "file" / "orbela.ini");
    TForm3 dialog(unwritable, language);
    WhenModal(&dialog, [&] {
        Click(Item(dialog, 3000));
        dialog.okbitbtn->click();
    });
    try {
        dialog.ShowEnvironment();
        FAIL() << "the failed write was not raised";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("Unable to write to"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace orbela
