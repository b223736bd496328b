// SPDX-License-Identifier: GPL-3.0-or-later
// The main window at start and idle: caption, menu, screen, settings, the
// memory image, the menu keyboard and the idle exit.

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "i18n/qt/qt_text.h"
#include "shell/qt/menu_keyboard.h"
#include "settings/configuration.h"
#include "shell/qt/desktop_fixture.h"

namespace orbela::testing {
namespace {

using MainWindowTest = DesktopTest;

TEST_F(MainWindowTest, CaptionIsTheExecutablesNameCutAtTheFirstDotOfItsPath)
{
    Configure("[environment]\nlanguage=2000\n");
    std::filesystem::create_directories(folder / "games");
    Create(folder / "games" / "interpret.exe");
    EXPECT_EQ(form1->windowTitle(), "interpret - Orbela Basic Interpreter");
    EXPECT_EQ(form1->printmemo->accessibleName(), "Screen");

    std::filesystem::create_directories(folder / "my.games");
    Create(folder / "my.games" / "interpret.exe");
    EXPECT_EQ(form1->windowTitle(), "my - Orbela Basic Interpreter");
}

TEST_F(MainWindowTest, MenuReadsInEnglishWithItsShortcutsAndEveryCommandAvailable)
{
    Configure("[environment]\nlanguage=2000\n");
    Create();
    EXPECT_EQ(form1->size(), QSize(500, 350));
    const std::vector<std::tuple<QAction*, QString, QKeySequence>> expected{
        {form1->Programmenu, "&Program", {}},
        {form1->Startsubmenu, "&Start", QKeySequence("Ctrl+S")},
        {form1->exitsubmenu, "&Exit", {}},
        {form1->settingsmenu, "&Settings", {}},
        {form1->braillekeyboarditem, "&Braille keyboard", QKeySequence("Ctrl+B")},
        {form1->soundssubmenu, "&Sounds...", QKeySequence("Ctrl+D")},
        {form1->Voicesubmenu, "&Voice...", QKeySequence("Ctrl+H")},
        {form1->usesapi5submenu, "Use SA&PI5 voice", QKeySequence("Ctrl+P")},
        {form1->environmentsubmenu, "&Environment...", QKeySequence("Ctrl+E")},
        {form1->helpmenu, "Hel&p", {}},
        {form1->aboutsubmenu, "&About", {}},
    };
    for (const auto& [item, caption, shortcut] : expected) {
        EXPECT_EQ(item->text(), caption) << item->objectName().toStdString();
        EXPECT_EQ(item->shortcut(), shortcut) << item->objectName().toStdString();
    }
    // The top menus in their order on the bar.
    const QList<QAction*> bar = form1->menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0], form1->Programmenu);
    EXPECT_EQ(bar[1], form1->settingsmenu);
    EXPECT_EQ(bar[2], form1->helpmenu);

    EXPECT_TRUE(form1->usesapi5submenu->isVisible());
    // The file exists, so voice is allowed and the Voice item is offered
    // while the system speech service is not in use. (Sounds waits for its
    // dialog, which this fixture does not create.)
    for (QAction* item : {form1->Startsubmenu, form1->exitsubmenu, form1->environmentsubmenu, form1->aboutsubmenu,
                          form1->Voicesubmenu, form1->usesapi5submenu, form1->braillekeyboarditem})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}

TEST_F(MainWindowTest, AnUnknownLanguageLeavesEveryCaptionFromTheTablesEmpty)
{
    Configure("[environment]\nlanguage=1500\n");
    Create();
    EXPECT_EQ(form1->windowTitle(), "orbela - ");
    for (QAction* item : {form1->Programmenu, form1->Startsubmenu, form1->exitsubmenu, form1->settingsmenu,
                          form1->usesapi5submenu, form1->braillekeyboarditem, form1->helpmenu, form1->aboutsubmenu})
        EXPECT_EQ(item->text(), "") << item->objectName().toStdString();
    for (QAction* item : {form1->Voicesubmenu, form1->environmentsubmenu, form1->soundssubmenu})
        EXPECT_EQ(item->text(), "...") << item->objectName().toStdString();
    EXPECT_EQ(runtime.State().language, 1500);
}

TEST_F(MainWindowTest, ScreenIsAReadOnlyFixedPitchMemoOf24EmptyUnwrappedRows)
{
    Create();
    QPlainTextEdit* memo = form1->printmemo;
    EXPECT_EQ(memo->document()->blockCount(), 24);
    EXPECT_EQ(memo->toPlainText(), QString(23, '\n'));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    EXPECT_EQ(form1->centralWidget(), memo);

    // Enter is not taken by the memo.
    ShowActive();
    memo->setFocus();
    const QString before = memo->toPlainText();
    SendKey(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(memo->toPlainText(), before);
}

TEST_F(MainWindowTest, MemoFollowsTheScreenThroughWritesAndScrolling)
{
    Create();
    for (int line = 0; line < 30; ++line)
        runtime.Print("line " + std::to_string(line), LineEnd::NewLine);
    runtime.Print("tail", LineEnd::Stay);
    const std::vector<QString> rows = MemoRows();
    ASSERT_EQ(rows.size(), 24u);
    for (int row = 0; row < Screen::Rows; ++row)
        EXPECT_EQ(rows[row], FromCp1250(screen.Row(row))) << "row " << row;
    EXPECT_TRUE(rows[0].startsWith("line "));
    EXPECT_NE(rows[0], "line 0");
}

TEST_F(MainWindowTest, FirstStartCreatesTheConfigurationWithVoiceNotAllowed)
{
    Create();
    EXPECT_TRUE(report.messages.empty());
    EXPECT_TRUE(configuration.Exists());
    EXPECT_EQ(configuration.ReadInteger("voice", "voiceallowed", -1), 0);
    EXPECT_FALSE(runtime.State().voiceallowed);
    EXPECT_FALSE(form1->usesapi5submenu->isChecked());
    EXPECT_FALSE(form1->braillekeyboarditem->isChecked());
}

TEST_F(MainWindowTest, ConfigurationSetsTheSettingsAndBothCheckMarks)
{
    Configure("[VOICE]\nSapi5=1\nvoiceallowed=1\n[sounds]\norbelasounds=0\nsndvolume=-2500\n"
              "[keyboard]\nbraillekeys=1\n");
    Create();
    EXPECT_TRUE(form1->usesapi5submenu->isChecked());
    EXPECT_TRUE(form1->braillekeyboarditem->isChecked());
    EXPECT_TRUE(form1->braillekeyboarditem->isEnabled());
    // The voice dialog serves the embedded engine only.
    EXPECT_FALSE(form1->Voicesubmenu->isEnabled());
    const RuntimeState& state = runtime.State();
    EXPECT_TRUE(state.voiceallowed);
    EXPECT_FALSE(state.orbelasounds);
    EXPECT_EQ(state.sndvolume, -2500);
    EXPECT_TRUE(state.braillekeys);
    EXPECT_FALSE(state.startedonce);
}

TEST_F(MainWindowTest, AnUnwritableConfigurationFolderStartsWithDefaultsAfterOneMessage)
{
    WriteBytes(folder / "notafolder", "a file where the folder should be");
    configuration = IniFile(folder / "notafolder" / "orbela.ini");
    Create(folder / "notafolder" / "orbela");
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0].rfind("Unable to write to ", 0), 0u) << report.messages[0];
    EXPECT_NE(report.messages[0].find("orbela.ini"), std::string::npos) << report.messages[0];
    EXPECT_EQ(form1->windowTitle(), QString::fromUtf8("orbela - Překladač Orbela Basicu"));
    EXPECT_TRUE(runtime.State().orbelasounds);
    EXPECT_EQ(runtime.State().sndvolume, 0);
    EXPECT_FALSE(runtime.State().braillekeys);
    EXPECT_FALSE(runtime.State().voiceallowed);
}

TEST_F(MainWindowTest, ShortMemoryImageLoadsItsBytesAndExitWhileIdleWritesTheWholeImage)
{
    std::string image(100, '\0');
    for (int i = 0; i < 100; ++i)
        image[i] = static_cast<char>(i + 1);
    WriteBytes("ram.dat", image);
    runtime.State().ramimage.fill(0xEE);
    Create();
    EXPECT_EQ(runtime.State().ramimage[99], 100);
    EXPECT_EQ(runtime.State().ramimage[100], 0);
    ShowActive();

    form1->exitsubmenu->trigger();
    EXPECT_FALSE(form1->isVisible());
    EXPECT_EQ(end.calls, 0);
    EXPECT_TRUE(report.messages.empty());
    const std::string written = ReadBytes("ram.dat");
    ASSERT_EQ(written.size(), 65536u);
    EXPECT_EQ(written.substr(0, 100), image);
    EXPECT_EQ(written.find_first_not_of('\0', 100), std::string::npos);
}

TEST_F(MainWindowTest, WithoutAMemoryImageTheFirstCloseWritesZeroBytes)
{
    Create();
    ShowActive();
    form1->close();
    const std::string written = ReadBytes("ram.dat");
    ASSERT_EQ(written.size(), 65536u);
    EXPECT_EQ(written.find_first_not_of('\0'), std::string::npos);
}

TEST_F(MainWindowTest, AnUnwritableMemoryImageIsReportedOnceAndTheWindowStillCloses)
{
    Create();
    ShowActive();
    // A folder where the file should be cannot be replaced by a file.
    std::filesystem::create_directory("ram.dat");
    form1->exitsubmenu->trigger();
    EXPECT_FALSE(form1->isVisible());
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0].rfind("Unable to write to ", 0), 0u) << report.messages[0];
}

TEST_F(MainWindowTest, RepeatedAltLetterMovesOnToTheNextMenuWithThatLetterAndF10OpensTheBar)
{
    Configure("[environment]\nlanguage=2000\n");
    Create();
    ShowActive();
    const auto openMenu = [&]() -> QAction* {
        QWidget* popup = QApplication::activePopupWidget();
        for (QAction* item : form1->menuBar()->actions()) {
            if (popup && item->menu() == popup)
                return item;
        }
        return nullptr;
    };
    const auto pressAlt = [&](Qt::Key key) {
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : form1->printmemo;
        QTest::keyClick(target, key, Qt::AltModifier);
    };

    pressAlt(Qt::Key_P);
    EXPECT_EQ(openMenu(), form1->Programmenu);
    pressAlt(Qt::Key_P);
    EXPECT_EQ(openMenu(), form1->helpmenu);
    pressAlt(Qt::Key_P);
    EXPECT_EQ(openMenu(), form1->Programmenu);
    pressAlt(Qt::Key_S);
    EXPECT_EQ(openMenu(), form1->settingsmenu);

    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F10);
    EXPECT_EQ(openMenu(), nullptr);
    QTest::keyClick(form1->printmemo, Qt::Key_F10);
    EXPECT_EQ(openMenu(), form1->Programmenu);
    QApplication::activePopupWidget()->close();

    // A disabled menu is passed over.
    form1->helpmenu->setEnabled(false);
    pressAlt(Qt::Key_P);
    pressAlt(Qt::Key_P);
    EXPECT_EQ(openMenu(), form1->Programmenu);
    QApplication::activePopupWidget()->close();
}

TEST_F(MainWindowTest, EnvironmentAndAboutCommandsOpenTheirDialogs)
{
    Configure("[environment]\nlanguage=2000\n");
    Create();
    ShowActive();
    std::vector<QString> messages;
    SetMessageBoxHook([&](const QString& text, MessageKind) { messages.push_back(text); });
    WhenModal(form3, [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        form3->okbitbtn->click();
    });
    QTest::keyClick(form1->printmemo, Qt::Key_E, Qt::ControlModifier);
    SetMessageBoxHook({});
    EXPECT_EQ(ReadLanguage(configuration), 3000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Vykonané zmeny sa prejavia až po najbližšom spustení programu.");
    // Captions already set stay until the next start.
    EXPECT_EQ(form1->Startsubmenu->text(), "&Start");

    bool aboutShown = false;
    WhenModal(aboutbox, [&] {
        aboutShown = true;
        aboutbox->OKButton->click();
    });
    form1->aboutsubmenu->trigger();
    EXPECT_TRUE(aboutShown);
    EXPECT_TRUE(report.messages.empty());
}

} // namespace
} // namespace orbela::testing
