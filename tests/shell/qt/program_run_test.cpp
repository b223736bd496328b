// SPDX-License-Identifier: GPL-3.0-or-later
// Program/Start and the ways a run ends, played through the real data-entry
// dialog with typed keys. The quickest game: leaving the taxi without paying
// is a death, and the answer 1 to the play-again question ends the run.

#include <map>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "i18n/qt/qt_test_support.h"
#include "shell/qt/desktop_fixture.h"

namespace orbela::testing {
namespace {

class ProgramRunTest : public DesktopTest {
protected:
    void PlayOneShortGame()
    {
        player.Type("v");
        player.Type("1");
    }

    struct MenuState {
        std::map<std::string, bool> enabled;
    };
    MenuState Menu() const
    {
        MenuState state;
        for (QAction* item : {form1->Programmenu, form1->Startsubmenu, form1->exitsubmenu, form1->settingsmenu,
                              form1->braillekeyboarditem, form1->soundssubmenu, form1->Voicesubmenu,
                              form1->usesapi5submenu, form1->environmentsubmenu, form1->helpmenu,
                              form1->aboutsubmenu})
            state.enabled[item->objectName().toStdString()] = item->isEnabled();
        return state;
    }
};

TEST_F(ProgramRunTest, CtrlSDisablesExactlyTheSixItemsForTheRunAndRestoresThemAfterReady)
{
    Create();
    ShowActive();
    const MenuState before = Menu();
    MenuState during;
    player.Type("v", [&] { during = Menu(); });
    player.Type("1");
    QTest::keyClick(form1->printmemo, Qt::Key_S, Qt::ControlModifier);

    EXPECT_EQ(player.Shown(), 2);
    MenuState expected = before;
    for (const char* item : {"Startsubmenu", "soundssubmenu", "environmentsubmenu", "Voicesubmenu",
                             "usesapi5submenu", "helpmenu"})
        expected.enabled[item] = false;
    EXPECT_EQ(during.enabled, expected.enabled);
    EXPECT_TRUE(during.enabled["exitsubmenu"]);
    EXPECT_TRUE(during.enabled["Programmenu"]);
    EXPECT_TRUE(during.enabled["settingsmenu"]);
    EXPECT_EQ(Menu().enabled, before.enabled);
    EXPECT_FALSE(form1->Running());
    EXPECT_TRUE(report.messages.empty());
    EXPECT_TRUE(runtime.State().startedonce);
    ASSERT_FALSE(speech.spoken.empty());
    EXPECT_EQ(speech.spoken.back(), "hotovo");
}

TEST_F(ProgramRunTest, ReadyStandsOnItsOwnRowAndTheNextRunPrintsFromColumnZeroBelowIt)
{
    Create();
    ShowActive();
    PlayOneShortGame();
    form1->Startsubmenu->trigger();

    const int readyRow = RowReading("hotovo");
    ASSERT_GE(readyRow, 0);
    EXPECT_EQ(runtime.State().scrcursor.getx(), 0);
    EXPECT_EQ(runtime.State().scrcursor.gety(), readyRow + 1);
    EXPECT_EQ(MemoRows()[readyRow].trimmed(), "hotovo");
    EXPECT_EQ(RowReading(Cp("hra je skončena.")), readyRow - 1);

    // The first text of the second run, seen at the moment it is spoken.
    std::string firstText;
    int firstTextRow = -1;
    std::string row;
    speech.onSpeak = [&](const std::string& text) {
        if (!firstText.empty())
            return;
        firstText = text;
        firstTextRow = RowReading("hotovo") + 1;
        if (firstTextRow < Screen::Rows)
            row = screen.Row(firstTextRow);
    };
    PlayOneShortGame();
    form1->Startsubmenu->trigger();
    ASSERT_FALSE(firstText.empty());
    ASSERT_GT(firstTextRow, 0);
    EXPECT_EQ(row.compare(0, std::min<std::size_t>(firstText.size(), 80), firstText, 0, 80), 0)
        << Utf(row) << " / " << Utf(firstText);
    EXPECT_TRUE(report.messages.empty());
    EXPECT_EQ(MemoRows()[RowReading("hotovo")].trimmed(), "hotovo");
}

TEST_F(ProgramRunTest, AnErrorEndingTheRunIsReportedAndTheMenuComesBack)
{
    Create();
    ShowActive();
    const auto before = Menu();
    // No line left for the first prompt: the run ends with an error.
    form1->Startsubmenu->trigger();
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0], ScriptExhausted().what());
    EXPECT_EQ(Menu().enabled, before.enabled);
    EXPECT_FALSE(form1->Running());
    EXPECT_FALSE(form2->isVisible());
}

TEST_F(ProgramRunTest, EveryWayOutOfARunWritesTheImageAndEndsTheProcessAtOnce)
{
    const std::vector<std::pair<const char*, std::function<void()>>> waysOut{
        {"Program/Exit", [&] { form1->exitsubmenu->trigger(); }},
        {"closing the main window", [&] { form1->close(); }},
        {"the dialog's exit button", [&] { QTest::mouseClick(form2->exitprogrambtn, Qt::LeftButton); }},
        {"closing the dialog", [&] { form2->close(); }},
    };
    for (const auto& [name, wayOut] : waysOut) {
        SCOPED_TRACE(name);
        // A window writes once on its way out; the process would have ended.
        Create();
        ShowActive();
        std::filesystem::remove("ram.dat");
        ++runtime.State().ramimage[7];
        const int callsBefore = end.calls;
        player.Type("", [&, wayOut = wayOut] {
            wayOut();
            // Here the process has ended; the test's ending returns instead.
            form2->done(0);
        });
        form1->Startsubmenu->trigger();
        EXPECT_EQ(end.calls, callsBefore + 1);
        EXPECT_EQ(end.ramSizeAtEnd, 65536u);
        EXPECT_EQ(static_cast<std::uint8_t>(ReadBytes("ram.dat")[7]), runtime.State().ramimage[7]);
        // Nothing was closed under the run.
        EXPECT_TRUE(form1->isVisible());
    }
}

TEST_F(ProgramRunTest, AFailedImageWriteAtTheEndIsReportedAndTheProcessStillEnds)
{
    Create();
    ShowActive();
    std::filesystem::create_directory("ram.dat");
    player.Type("", [&] {
        QTest::mouseClick(form2->exitprogrambtn, Qt::LeftButton);
        form2->done(0);
    });
    form1->Startsubmenu->trigger();
    EXPECT_EQ(end.calls, 1);
    ASSERT_GE(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0].rfind("Unable to write to ", 0), 0u) << report.messages[0];
}

} // namespace
} // namespace orbela::testing
