// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/tform2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "i18n/qt/qt_test_support.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Cp;
using testing::SendKey;
using testing::TypeText;
using testing::WhenModal;

class DataEntryDialogTest : public ::testing::Test {
protected:
    DataEntryDialogTest()
    {
        dialog.SetEndProgramHandler([this] { ++endRequests; });
    }

    // Shows the dialog as the input statements do and runs `whileShown`
    // once it is up.
    int Ask(std::function<void()> whileShown)
    {
        dialog.ClearField();
        WhenModal(&dialog, std::move(whileShown));
        return dialog.ShowModal();
    }

    TForm2 dialog{LanguageEnglish()};
    int endRequests = 0;

    static int LanguageEnglish() { return 2000; }
};

TEST_F(DataEntryDialogTest, EnterInTheFieldConfirmsTheTypedCzechLineInTheRuntimesCodePage)
{
    const int result = Ask([&] {
        EXPECT_EQ(QApplication::focusWidget(), dialog.inputedit);
        TypeText(dialog.inputedit, "vezmi klíč");
        SendKey(dialog.inputedit, Qt::Key_Return);
    });
    EXPECT_EQ(result, ModalResultOk);
    EXPECT_EQ(dialog.FieldText(), Cp("vezmi klíč"));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DataEntryDialogTest, OkButtonConfirmsAndClearFieldEmptiesTheFieldForTheNextLine)
{
    EXPECT_EQ(Ask([&] {
                  TypeText(dialog.inputedit, "polož peníze");
                  QTest::mouseClick(dialog.Enterbitbtn, Qt::LeftButton);
              }),
              ModalResultOk);
    EXPECT_EQ(dialog.FieldText(), Cp("polož peníze"));

    QString fieldWhenShown = "unset";
    Ask([&] {
        fieldWhenShown = dialog.inputedit->text();
        SendKey(dialog.inputedit, Qt::Key_Return);
    });
    EXPECT_EQ(fieldWhenShown, "");
    EXPECT_EQ(dialog.FieldText(), "");
}

TEST_F(DataEntryDialogTest, EscapeDoesNotCloseTheDialog)
{
    bool visibleAfterEscape = false;
    const int result = Ask([&] {
        TypeText(dialog.inputedit, "j");
        SendKey(dialog.inputedit, Qt::Key_Escape);
        QApplication::processEvents();
        visibleAfterEscape = dialog.isVisible();
        SendKey(dialog.inputedit, Qt::Key_Return);
    });
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(result, ModalResultOk);
    EXPECT_EQ(dialog.FieldText(), "j");
}

TEST_F(DataEntryDialogTest, TheExitButtonAndACloseRequestEndTheProgramInsteadOfClosing)
{
    bool visibleAfterButton = false;
    bool visibleAfterClose = false;
    const int result = Ask([&] {
        QTest::mouseClick(dialog.exitprogrambtn, Qt::LeftButton);
        visibleAfterButton = dialog.isVisible();
        dialog.close();
        visibleAfterClose = dialog.isVisible();
        // Only the handler would end the process; here the test closes it.
        dialog.done(0);
    });
    EXPECT_EQ(endRequests, 2);
    EXPECT_TRUE(visibleAfterButton);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_NE(result, ModalResultOk);
}

TEST_F(DataEntryDialogTest, RefusesCharactersTheCodePageCannotHold)
{
    Ask([&] {
        TypeText(dialog.inputedit, "ab");
        TypeText(dialog.inputedit, "ж");
        TypeText(dialog.inputedit, "č");
        dialog.inputedit->insert("€漢");
        SendKey(dialog.inputedit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.inputedit->text(), "abč");
    EXPECT_EQ(dialog.FieldText(), Cp("abč"));
}

TEST_F(DataEntryDialogTest, CaptionsAndAccessibleNamesComeFromTheLanguage)
{
    EXPECT_EQ(dialog.windowTitle(), "Enter data");
    EXPECT_EQ(dialog.Enterbitbtn->text(), "&OK");
    EXPECT_EQ(dialog.exitprogrambtn->text(), "E&xit program");
    EXPECT_TRUE(dialog.Enterbitbtn->isDefault());
    EXPECT_EQ(dialog.inputedit->accessibleName(), "Enter data");
    EXPECT_EQ(dialog.exitprogrambtn->accessibleName(), "Exit program");

    TForm2 czech(1000);
    EXPECT_EQ(czech.windowTitle(), "Vlož data");
    EXPECT_EQ(czech.exitprogrambtn->text(), "U&končit program");
}

TEST_F(DataEntryDialogTest, TheInputStatementTakesItsFieldsFromTheRealDialog)
{
    Screen screen;
    testing::RecordingSpeech speech;
    VirtualClock clock;
    Runtime runtime(screen, dialog, speech, clock);
    WhenModal(&dialog, [&] {
        TypeText(dialog.inputedit, "vezmi, klíč");
        SendKey(dialog.inputedit, Qt::Key_Return);
    });
    std::string first, second;
    runtime.InputText(first, InputMode::Fresh);
    runtime.InputText(second, InputMode::UsePending);
    EXPECT_EQ(first, "vezmi");
    EXPECT_EQ(second, Cp("klíč"));
}

} // namespace
} // namespace orbela
