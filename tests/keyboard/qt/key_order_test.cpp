// SPDX-License-Identifier: GPL-3.0-or-later
// Keys keep their order whatever the echo is doing: keys that arrive while
// a key's spoken name is still playing (an engine that holds its speech
// open until reset) are inserted in the order typed, and a held key's
// repeats neither type a chord again nor answer an arrow twice.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"
#include "speech/recording_engine.h"

namespace orbela::testing {
namespace {

using Kind = RecordingEngine::Command::Kind;

class KeyOrderTest : public KeyboardWindowsTest {
protected:
    // Shows the dialog, runs `whileShown` once it is up.
    void Ask(std::function<void()> whileShown)
    {
        dialog->ClearField();
        WhenModal(dialog.get(), [this, whileShown = std::move(whileShown)] {
            whileShown();
            if (dialog->isVisible())
                dialog->done(0);
        });
        dialog->ShowModal();
    }

    // An engine whose speech goes on until it is reset.
    RecordingEngine& HoldingEngine(EngineSlot slot)
    {
        auto engine = std::make_unique<RecordingEngine>(poster, RecordingEngine::Playback::Held);
        RecordingEngine& held = *engine;
        speech.SetEngine(slot, std::move(engine));
        return held;
    }

    // Queues a press and a release for every character, as X delivers keys
    // typed faster than they are handled, then lets the loop take them.
    void PostTyping(QWidget* target, const QString& text)
    {
        for (const QChar c : text) {
            const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_Space;
            const Qt::KeyboardModifiers modifiers = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
            QCoreApplication::postEvent(target, Event(QEvent::KeyPress, key, modifiers, QString(c)));
            QCoreApplication::postEvent(target, Event(QEvent::KeyRelease, key, modifiers, QString(c)));
        }
        QCoreApplication::processEvents();
    }

    // A key event with its own moment, as the keyboard stamps it.
    QKeyEvent* Event(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text,
                     bool autoRepeat = false)
    {
        auto* event = new QKeyEvent(type, key, modifiers, text, autoRepeat);
        event->setTimestamp(++moment_);
        return event;
    }

    // A key held past the keyboard's repeat delay, as X sends it with
    // detectable auto-repeat: presses only, then one release.
    void Hold(QWidget* target, int key, int repeats, const QString& text = {})
    {
        for (int i = 0; i <= repeats; ++i) {
            std::unique_ptr<QKeyEvent> press(Event(QEvent::KeyPress, key, Qt::NoModifier, text));
            QApplication::sendEvent(target, press.get());
        }
        std::unique_ptr<QKeyEvent> release(Event(QEvent::KeyRelease, key, Qt::NoModifier, text));
        QApplication::sendEvent(target, release.get());
    }

    QLineEdit* field() const { return dialog->inputedit; }

private:
    quint64 moment_ = 0;
};

TEST_F(KeyOrderTest, KeysTypedWhileAnEchoPlaysAreInsertedInOrderWithEitherEngine)
{
    RecordingEngine& embedded = HoldingEngine(EngineSlot::Embedded);
    Ask([&] {
        PostTyping(field(), "Situace inventar");
        EXPECT_EQ(field()->text(), "Situace inventar");
        // Each key silenced the echo before it: the last name is the last
        // key's, and nothing was spoken twice.
        const auto spoken = embedded.SpokenTexts();
        ASSERT_FALSE(spoken.empty());
        EXPECT_EQ(spoken.back(), "r");
        EXPECT_EQ(spoken.size(), 16u);
        EXPECT_EQ(embedded.Commands().back().kind, Kind::Speak);
    });

    RecordingEngine& system = HoldingEngine(EngineSlot::System);
    speech.SetUseSapi5(true);
    Ask([&] {
        PostTyping(field(), "vezmi klic");
        EXPECT_EQ(field()->text(), "vezmi klic");
        EXPECT_EQ(system.SpokenTexts().size(), 10u);
    });
}

TEST_F(KeyOrderTest, TheLeftEdgesBeepFollowsTheNameWithoutHoldingUpTheNextKey)
{
    RecordingEngine& embedded = HoldingEngine(EngineSlot::Embedded);
    Ask([&] {
        PostTyping(field(), "ab");
        field()->setCursorPosition(0);
        Heard();
        SendKey(field(), Qt::Key_Left);
        SendKey(field(), Qt::Key_Left);
        // The second Left at the start beeps after the name, which plays on.
        EXPECT_TRUE(Heard().empty());
        EXPECT_EQ(embedded.SpokenTexts().back(), "a");
        // A key typed now is inserted at once and drops the pending beep.
        PostTyping(field(), "c");
        EXPECT_EQ(field()->text(), "cab");
        embedded.Finish();
        EXPECT_TRUE(Heard().empty());
    });
}

TEST_F(KeyOrderTest, AHeldChordTypesOneCharacterAndARepeatStartsNoNewChord)
{
    runtime.State().braillekeys = true;
    Ask([&] {
        // Dots 1 5 (F K) held, the last key repeating, then let go.
        std::unique_ptr<QKeyEvent> f(Event(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f"));
        QApplication::sendEvent(field(), f.get());
        Hold(field(), Qt::Key_K, 12, "k");
        // F is still down and repeats now that K is up: no second chord.
        Hold(field(), Qt::Key_F, 12, "f");
        EXPECT_EQ(field()->text(), "e");

        // Marked repeats count for nothing either.
        std::unique_ptr<QKeyEvent> again(Event(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f"));
        QApplication::sendEvent(field(), again.get());
        for (int i = 0; i < 5; ++i) {
            std::unique_ptr<QKeyEvent> repeat(Event(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f", true));
            QApplication::sendEvent(field(), repeat.get());
        }
        std::unique_ptr<QKeyEvent> up(Event(QEvent::KeyRelease, Qt::Key_F, Qt::NoModifier, "f"));
        QApplication::sendEvent(field(), up.get());
        EXPECT_EQ(field()->text(), "ea");
    });
}

TEST_F(KeyOrderTest, AHeldArrowMovesOnAndIsAnsweredOnceWhereItStops)
{
    Ask([&] {
        field()->setText("abcdef");
        field()->setCursorPosition(6);
        Heard();
        Hold(field(), Qt::Key_Left, 3);
        EXPECT_EQ(field()->cursorPosition(), 2);
        EXPECT_EQ(Heard(), Journal{"say:c"});
    });

    WriteRow(0, "prvni");
    WriteRow(1, "druhy");
    WriteRow(2, "treti");
    WhenModal(virtualScreen.get(), [&] {
        Heard();
        Hold(virtualScreen->virtualscrmemo, Qt::Key_Down, 1);
        EXPECT_EQ(Heard(), Journal{"say:treti" + std::string(75, ' ')});
        virtualScreen->reject();
    });
    virtualScreen->OpenVirtualScreen();
}

} // namespace
} // namespace orbela::testing
