// SPDX-License-Identifier: GPL-3.0-or-later
// The review of the screen: line, character and word reading, positions
// counted with two characters per line break, and the edge clicks.

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"
#include "text/error.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* EdgeClick = "sound:click16";

class VirtualScreenTest : public KeyboardWindowsTest {
protected:
    VirtualScreenTest()
    {
        WriteRow(0, "Stojis na namesti.");
        WriteRow(1, "Vidis kasnu, lavicku");
        WriteRow(2, "a starou branu.");
        WriteRow(5, "Sever vede do parku.");
        WriteRow(23, "Co udelas?");
    }

    // Opens the review, runs `whileShown` on it and closes it by Escape.
    void Review(std::function<void()> whileShown)
    {
        WhenModal(virtualScreen.get(), [this, whileShown = std::move(whileShown)] {
            whileShown();
            if (virtualScreen->isVisible())
                Key(Qt::Key_Escape);
        });
        virtualScreen->OpenVirtualScreen();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        SendKey(virtualScreen->virtualscrmemo, key, modifiers);
    }

    static std::string Row(const std::string& text) { return "say:" + text + std::string(80 - text.size(), ' '); }
};

TEST_F(VirtualScreenTest, OpensWithTheTwoPitchToneAndScreenAndClosesWithEndOfScreen)
{
    Journal whileOpen;
    std::size_t caret = 99;
    Review([&] {
        whileOpen = Heard();
        caret = virtualScreen->CaretPosition();
    });
    EXPECT_THAT(whileOpen, ElementsAre("tone:300", "tone:450", "say:Screen"));
    EXPECT_EQ(caret, 0u);
    EXPECT_THAT(Heard(), ElementsAre("tone:300", "tone:450", "say:end of screen"));
    EXPECT_FALSE(virtualScreen->isVisible());
    EXPECT_EQ(virtualScreen->windowTitle(), "Screen");
    EXPECT_EQ(virtualScreen->closebitbtn->text(), "&Close");
}

TEST_F(VirtualScreenTest, OpensWithoutItsToneWhenTheToneWaveIsMissingAndRaisesTheErrorWhenClosed)
{
    sounds.missing = {"snd15"};
    Journal whileOpen;
    bool shown = false;
    try {
        Review([&] {
            shown = virtualScreen->isVisible();
            whileOpen = Heard();
        });
        FAIL() << "the missing wave was not reported";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Wave 'snd15' not found");
    }
    EXPECT_TRUE(shown);
    EXPECT_THAT(whileOpen, ElementsAre("say:Screen"));
    EXPECT_THAT(Heard(), ElementsAre("say:end of screen"));
    EXPECT_FALSE(virtualScreen->isVisible());
}

TEST_F(VirtualScreenTest, UpAndDownReadLinesAndClickAtTheTopAndBelowTheLastLine)
{
    Review([&] {
        Heard();
        Key(Qt::Key_Down);
        EXPECT_THAT(Heard(), ElementsAre(Row("Vidis kasnu, lavicku")));
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        // A row never written is empty.
        EXPECT_THAT(Heard(), ElementsAre(Row("a starou branu."), "say:empty line"));
        Key(Qt::Key_Up);
        Key(Qt::Key_Up);
        Key(Qt::Key_Up);
        EXPECT_THAT(Heard(), ElementsAre(Row("a starou branu."), Row("Vidis kasnu, lavicku"),
                                         Row("Stojis na namesti.")));
        Key(Qt::Key_Up);
        EXPECT_THAT(Heard(), ElementsAre(EdgeClick, Row("Stojis na namesti.")));
        for (int i = 0; i < 23; ++i)
            Key(Qt::Key_Down);
        EXPECT_EQ(Heard().back(), Row("Co udelas?"));
        Key(Qt::Key_Down);
        EXPECT_EQ(virtualScreen->CaretLine(), 24);
        EXPECT_THAT(Heard(), ElementsAre("say:empty line"));
        Key(Qt::Key_Down);
        EXPECT_THAT(Heard(), ElementsAre(EdgeClick, "say:empty line"));
    });
}

TEST_F(VirtualScreenTest, F2CountsLineBreaksAsTwoCharacters)
{
    Review([&] {
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Heard();
        EXPECT_EQ(virtualScreen->CaretPosition(), 164u);
        Key(Qt::Key_F2);
        EXPECT_THAT(Heard(), ElementsAre("say:line 3, column 1"));
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        Heard();
        Key(Qt::Key_F2);
        EXPECT_THAT(Heard(), ElementsAre("say:line 3, column 3"));
    });
}

TEST_F(VirtualScreenTest, RightReadsEachCharacterAndTheLineBreakByItsName)
{
    Review([&] {
        Key(Qt::Key_End);
        Heard();
        EXPECT_EQ(virtualScreen->CaretPosition(), 80u);
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre("say:space"));
        Key(Qt::Key_Right);
        EXPECT_THAT(Heard(), ElementsAre("say:end of line"));
        Key(Qt::Key_Right);
        EXPECT_EQ(virtualScreen->CaretPosition(), 82u);
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital v"));
        Key(Qt::Key_Right);
        EXPECT_THAT(Heard(), ElementsAre("say:i"));
        Key(Qt::Key_Home);
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital v"));
    });
}

TEST_F(VirtualScreenTest, LeftAtTheVeryStartNamesTheFirstCharacterThenClicks)
{
    Review([&] {
        Heard();
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital s"));
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre(EdgeClick, "tone:cap", "say:capital s"));
        // Ctrl+Home at the start speaks no word, only the click.
        Key(Qt::Key_Home, Qt::ControlModifier);
        EXPECT_THAT(Heard(), ElementsAre(EdgeClick));
    });
}

TEST_F(VirtualScreenTest, CtrlRightReachesAndSpeaksEveryWordAlsoBelowTheThirdLine)
{
    Review([&] {
        for (int i = 0; i < 5; ++i)
            Key(Qt::Key_Down);
        Heard();
        Key(Qt::Key_Right, Qt::ControlModifier);
        EXPECT_THAT(Heard(), ElementsAre("say:vede"));
        Key(Qt::Key_Right, Qt::ControlModifier);
        Key(Qt::Key_Right, Qt::ControlModifier);
        // The full stop stays with its word.
        EXPECT_THAT(Heard(), ElementsAre("say:do", "say:parku."));
        // Blanks and empty rows lie between words: the next word is on
        // the last row.
        Key(Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(virtualScreen->CaretLine(), 23);
        Key(Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(virtualScreen->CaretLine(), 5);
        EXPECT_THAT(Heard(), ElementsAre("say:Co", "say:parku."));
        // The comma ends a word on the second line.
        for (int i = 0; i < 4; ++i)
            Key(Qt::Key_Up);
        Key(Qt::Key_Home);
        Heard();
        Key(Qt::Key_Right, Qt::ControlModifier);
        Key(Qt::Key_Right, Qt::ControlModifier);
        EXPECT_THAT(Heard(), ElementsAre("say:kasnu", "say:lavicku"));
    });
}

TEST_F(VirtualScreenTest, NoKeyChangesTheTextAndWithoutAnEngineTheKeysAreSilent)
{
    const std::string before = screen.Text();
    Review([&] {
        speech.SetUseSapi5(false);
        Heard();
        SendKey(virtualScreen->virtualscrmemo, Qt::Key_X, Qt::NoModifier, "x");
        Key(Qt::Key_Delete);
        Key(Qt::Key_Down);
        EXPECT_EQ(virtualScreen->CaretLine(), 1);
        Key(Qt::Key_F2);
        Key(Qt::Key_Up);
        Key(Qt::Key_Left);
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), IsEmpty());
    });
    EXPECT_FALSE(virtualScreen->isVisible());
    EXPECT_EQ(virtualScreen->virtualscrmemo->toPlainText().count('\n'), 24);
    EXPECT_EQ(screen.Text(), before);
}

TEST_F(VirtualScreenTest, RamByte50730SetToOneKeepsTheReviewShut)
{
    runtime.State().ramimage[50730] = 1;
    runtime.State().keybuffer = "k";
    virtualScreen->OpenVirtualScreen();
    EXPECT_THAT(Heard(), IsEmpty());
    EXPECT_EQ(runtime.State().keybuffer, "k");

    runtime.State().ramimage[50730] = 2;
    Review([] {});
    EXPECT_EQ(runtime.State().keybuffer, "");
}

TEST_F(VirtualScreenTest, ScreenLinesWiderThanTheMemoAreNotWrapped)
{
    WriteRow(4, std::string(80, 'w'));
    virtualScreen->resize(200, 200);
    Review([&] {
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        EXPECT_EQ(virtualScreen->CaretLine(), 5);
    });
}

} // namespace
} // namespace orbela::testing
