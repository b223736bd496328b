// SPDX-License-Identifier: GPL-3.0-or-later
// The data-entry dialog as a blind user hears it: every key answered by
// speech or a sound, reading by character and word, and chord typing.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* Click = "sound:click2";
constexpr const char* Beep = "sound:beep";

class DataEntryKeysTest : public KeyboardWindowsTest {
protected:
    // Shows the dialog as the input statements do, runs `whileShown` once
    // it is up and returns the modal result.
    int Ask(std::function<void()> whileShown)
    {
        dialog->ClearField();
        WhenModal(dialog.get(), [this, whileShown = std::move(whileShown)] {
            Heard();
            whileShown();
            if (dialog->isVisible())
                dialog->done(0);
        });
        return dialog->ShowModal();
    }

    QLineEdit* field() const { return dialog->inputedit; }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        SendKey(field(), key, modifiers, text);
    }

    // Presses the keys one after another, holding the earlier ones, then
    // releases them in the same order, as a chord is typed.
    void Chord(const QString& letters)
    {
        for (QChar letter : letters)
            Press(field(), letter == ' ' ? Qt::Key_Space : Qt::Key_A + (letter.unicode() - 'a'), Qt::NoModifier,
                  QString(letter));
        for (QChar letter : letters)
            Release(field(), letter == ' ' ? Qt::Key_Space : Qt::Key_A + (letter.unicode() - 'a'), Qt::NoModifier,
                    QString(letter));
    }

    void BrailleKeysOn() { runtime.State().braillekeys = true; }
};

TEST_F(DataEntryKeysTest, OrdinaryKeysAreEchoedByNameAsTheyGoDownAndACapitalGetsItsTone)
{
    Ask([&] {
        TypeText(field(), "a");
        EXPECT_THAT(Heard(), ElementsAre("say:a"));
        Key(Qt::Key_Shift, Qt::ShiftModifier);
        Key(Qt::Key_A, Qt::ShiftModifier, "A");
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital a"));
        // Keys that type nothing are silent.
        Key(Qt::Key_F5);
        EXPECT_THAT(Heard(), IsEmpty());
    });
    EXPECT_EQ(field()->text(), "aA");
}

TEST_F(DataEntryKeysTest, BackspaceAndDeleteClickThenNameWhatTheyRemoveOrBeepAtTheEdge)
{
    Ask([&] {
        Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
        EXPECT_THAT(Heard(), ElementsAre(Click, Beep));
        TypeText(field(), "ab");
        Heard();
        Key(Qt::Key_Delete);
        EXPECT_THAT(Heard(), ElementsAre(Click, Beep));
        Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
        EXPECT_THAT(Heard(), ElementsAre(Click, "say:b"));
        EXPECT_EQ(field()->text(), "a");
        Key(Qt::Key_Home);
        Heard();
        Key(Qt::Key_Delete);
        EXPECT_THAT(Heard(), ElementsAre(Click, "say:a"));
        EXPECT_EQ(field()->text(), "");
    });
}

TEST_F(DataEntryKeysTest, CaretKeysReadTheCharacterRightOfTheCaretAndMarkTheEdges)
{
    Ask([&] {
        // In an empty field every Left beeps.
        Key(Qt::Key_Left);
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre(Beep, Beep));
        TypeText(field(), "ab");
        Heard();
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre("say:b"));
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre("say:a"));
        Key(Qt::Key_Left);
        EXPECT_THAT(Heard(), ElementsAre("say:a", Beep));
        Key(Qt::Key_Right);
        EXPECT_THAT(Heard(), ElementsAre("say:b"));
        Key(Qt::Key_Right);
        EXPECT_THAT(Heard(), ElementsAre(Click));
        Key(Qt::Key_Right);
        EXPECT_THAT(Heard(), ElementsAre(Click, Beep));
        Key(Qt::Key_Home);
        EXPECT_THAT(Heard(), ElementsAre("say:a"));
        Key(Qt::Key_End);
        EXPECT_THAT(Heard(), ElementsAre(Click, Beep));
        EXPECT_EQ(field()->cursorPosition(), 2);
    });
}

TEST_F(DataEntryKeysTest, CtrlArrowsJumpByBlanksAndCommasOnlyAndSpeakTheWordReached)
{
    Ask([&] {
        TypeText(field(), "vezmi klic.mec,luk");
        Heard();
        Key(Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(field()->cursorPosition(), 15);
        EXPECT_THAT(Heard(), ElementsAre("say:luk"));
        Key(Qt::Key_Left, Qt::ControlModifier);
        // The full stop does not end a word.
        EXPECT_EQ(field()->cursorPosition(), 6);
        EXPECT_THAT(Heard(), ElementsAre("say:klic.mec"));
        Key(Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(field()->cursorPosition(), 0);
        Key(Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(field()->cursorPosition(), 6);
        EXPECT_THAT(Heard(), ElementsAre("say:vezmi", "say:klic.mec"));
    });
}

TEST_F(DataEntryKeysTest, AltUpReadsTheWholeFieldOrSaysEmptyLine)
{
    Ask([&] {
        Key(Qt::Key_Up, Qt::AltModifier);
        EXPECT_THAT(Heard(), ElementsAre("say:empty line"));
        TypeText(field(), "jdi sever");
        Heard();
        Key(Qt::Key_Up, Qt::AltModifier);
        EXPECT_THAT(Heard(), ElementsAre("say:jdi sever"));
        EXPECT_FALSE(virtualScreen->isVisible());
    });
}

TEST_F(DataEntryKeysTest, EnterConfirmsAlsoWithChordsOnWhileEscapeKeepsDialogAndText)
{
    BrailleKeysOn();
    const int result = Ask([&] {
        Chord("f");
        Key(Qt::Key_Escape, Qt::NoModifier, "\x1b");
        QApplication::processEvents();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(field()->text(), "a");
        Key(Qt::Key_Return, Qt::NoModifier, "\r");
    });
    EXPECT_EQ(result, ModalResultOk);
    EXPECT_EQ(dialog->FieldText(), "a");
}

TEST_F(DataEntryKeysTest, TabSpeaksEachButtonsCaptionAndTheFieldOnReturn)
{
    Ask([&] {
        TypeText(field(), "x");
        Heard();
        Key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog->Enterbitbtn);
        EXPECT_THAT(Heard(), ElementsAre("say:&OK"));
        SendKey(dialog->Enterbitbtn, Qt::Key_Tab);
        EXPECT_THAT(Heard(), ElementsAre("say:E&xit program"));
        SendKey(dialog->exitprogrambtn, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), field());
        EXPECT_THAT(Heard(), ElementsAre("say:x"));
        SendKey(field(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_THAT(Heard(), ElementsAre("say:E&xit program"));
    });
}

TEST_F(DataEntryKeysTest, UpOpensTheScreenReviewOverTheDialogWhichComesBackUnchanged)
{
    WriteRow(0, "Stojis na namesti.");
    bool reviewShown = false;
    Ask([&] {
        TypeText(field(), "sever");
        Heard();
        WhenModal(virtualScreen.get(), [&] {
            reviewShown = true;
            SendKey(virtualScreen->virtualscrmemo, Qt::Key_Escape);
        });
        Key(Qt::Key_Up);
        EXPECT_TRUE(reviewShown);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(field()->text(), "sever");
        // Coming back to the dialog says nothing of the field.
        const Journal heard = Heard();
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back(), "say:end of screen");
    });
}

TEST_F(DataEntryKeysTest, AChordIsEchoedAsItGrowsAndInsertedOnceAtItsFirstRelease)
{
    BrailleKeysOn();
    Ask([&] {
        Press(field(), Qt::Key_F, Qt::NoModifier, "f");
        Press(field(), Qt::Key_D, Qt::NoModifier, "d");
        Press(field(), Qt::Key_J, Qt::NoModifier, "j");
        // Dots 1, 12, 124: a, b, f.
        EXPECT_THAT(Heard(), ElementsAre("say:a", "say:b", "say:f"));
        EXPECT_EQ(field()->text(), "");
        Release(field(), Qt::Key_D, Qt::NoModifier, "d");
        Release(field(), Qt::Key_F, Qt::NoModifier, "f");
        Release(field(), Qt::Key_J, Qt::NoModifier, "j");
        EXPECT_EQ(field()->text(), "f");
        EXPECT_THAT(Heard(), IsEmpty());
        // Letters other than the six type nothing at all.
        Key(Qt::Key_A, Qt::NoModifier, "a");
        EXPECT_EQ(field()->text(), "f");
    });
}

TEST_F(DataEntryKeysTest, DotsTakePrecedenceOverSpaceAndAutoRepeatCompletesNoChord)
{
    BrailleKeysOn();
    Ask([&] {
        Press(field(), Qt::Key_F, Qt::NoModifier, "f");
        Press(field(), Qt::Key_Space, Qt::NoModifier, " ");
        EXPECT_THAT(Heard(), ElementsAre("say:a", "say:a"));
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_F, Qt::NoModifier, "f", /*autorep=*/true);
        QApplication::sendEvent(field(), &repeatRelease);
        QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f", /*autorep=*/true);
        QApplication::sendEvent(field(), &repeatPress);
        EXPECT_EQ(field()->text(), "");
        Release(field(), Qt::Key_Space, Qt::NoModifier, " ");
        Release(field(), Qt::Key_F, Qt::NoModifier, "f");
        EXPECT_EQ(field()->text(), "a");
        // A key already typed into at the caret: the chord goes in there.
        field()->setCursorPosition(0);
        Chord("fd");
        EXPECT_EQ(field()->text(), "ba");
        EXPECT_EQ(field()->cursorPosition(), 1);
    });
}

TEST_F(DataEntryKeysTest, TheCapitalSignMakesOneCapitalWithItsTone)
{
    BrailleKeysOn();
    Ask([&] {
        Chord("l");
        EXPECT_THAT(Heard(), IsEmpty());
        Chord("f");
        EXPECT_THAT(Heard(), ElementsAre("tone:cap", "say:capital a"));
        Chord("f");
        EXPECT_THAT(Heard(), ElementsAre("say:a"));
    });
    EXPECT_EQ(field()->text(), "Aa");
}

TEST_F(DataEntryKeysTest, ANumberSignSurvivesEnterIntoTheNextInputUntilASpace)
{
    BrailleKeysOn();
    Ask([&] {
        Chord("sjkl");
        Chord("f");
        Key(Qt::Key_Return, Qt::NoModifier, "\r");
    });
    EXPECT_EQ(dialog->FieldText(), "1");
    Ask([&] {
        Chord("fd");
        Chord(" ");
        Chord("fd");
        Key(Qt::Key_Return, Qt::NoModifier, "\r");
    });
    EXPECT_EQ(dialog->FieldText(), "2 b");
}

TEST_F(DataEntryKeysTest, AltF4TheExitButtonAndACloseRequestEachEndTheProgram)
{
    Ask([&] {
        Key(Qt::Key_F4, Qt::AltModifier);
        EXPECT_EQ(endRequests, 1);
        dialog->exitprogrambtn->click();
        EXPECT_EQ(endRequests, 2);
        dialog->close();
        EXPECT_EQ(endRequests, 3);
        EXPECT_TRUE(dialog->isVisible());
    });
}

} // namespace
} // namespace orbela::testing
