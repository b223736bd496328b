// SPDX-License-Identifier: GPL-3.0-or-later
// What each speech mode sends to the speech service: beside a screen reader
// the printed lines, the review's position and boundaries and the chords'
// characters go through the system service and the keys, the review's text,
// menus and message boxes are left to the reader; alone, everything is
// said. Also the mode switch itself: the automatic mode following the
// screen reader, the Settings submenu and the announcement of a change.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"
#include "settings/ini_file.h"
#include "shell/qt/interface_speech.h"
#include "shell/qt/speech_mode_menu.h"
#include "shell/terminal/command_line.h"
#include "support/temp_folder.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int English = 2000;

class SpeechModeTest : public KeyboardWindowsTest {
protected:
    SpeechModeTest()
    {
        speech.SetEngine(EngineSlot::System, MakeJournalEngine(poster, system));
        speech.SetPolicy(&policy);
        WriteRow(0, "Stojis na namesti.");
        WriteRow(1, "Co udelas?");
    }
    ~SpeechModeTest() override
    {
        speech.SetPolicy(nullptr);
        speech.SetEngine(EngineSlot::System, nullptr);
        QApplication::processEvents();
    }

    Journal System()
    {
        Journal heard;
        heard.swap(system);
        return heard;
    }

    int Ask(std::function<void()> whileShown)
    {
        dialog->ClearField();
        WhenModal(dialog.get(), [this, whileShown = std::move(whileShown)] {
            Heard();
            System();
            whileShown();
            if (dialog->isVisible())
                dialog->done(0);
        });
        return dialog->ShowModal();
    }

    void Review(std::function<void()> whileShown)
    {
        WhenModal(virtualScreen.get(), [this, whileShown = std::move(whileShown)] {
            whileShown();
            SendKey(virtualScreen->virtualscrmemo, Qt::Key_Escape);
        });
        virtualScreen->OpenVirtualScreen();
    }

    Journal system;
    SpeechPolicy policy;
};

TEST_F(SpeechModeTest, BesideAScreenReaderOnlyWhatItCannotKnowIsSaidThroughTheSystemService)
{
    policy.Choose(SpeechMode::ScreenReader);
    // A printed line: through the system service, whatever voice is chosen.
    speech.SpeakAndWait(Cp("Stojis na namesti."));
    EXPECT_THAT(System(), ElementsAre("say:Stojis na namesti."));
    EXPECT_THAT(Heard(), IsEmpty());

    Ask([&] {
        // The field's keys, characters and text are the reader's.
        TypeText(dialog->inputedit, "ab");
        SendKey(dialog->inputedit, Qt::Key_Backspace);
        SendKey(dialog->inputedit, Qt::Key_Left);
        SendKey(dialog->inputedit, Qt::Key_Up, Qt::AltModifier);
        EXPECT_THAT(System(), IsEmpty());
        // Sounds stay.
        EXPECT_THAT(Heard(), ElementsAre("sound:click2"));
        // A braille chord's character is not on any key the reader hears.
        runtime.State().braillekeys = true;
        Press(dialog->inputedit, Qt::Key_F, Qt::NoModifier, "f");
        Release(dialog->inputedit, Qt::Key_F, Qt::NoModifier, "f");
        EXPECT_THAT(System(), ElementsAre("say:a"));
        runtime.State().braillekeys = false;
        // So is the same chord typed on a braille display's keyboard.
        dialog->TypeDisplayChord("124");
        EXPECT_THAT(System(), ElementsAre("say:f"));
    });
    // The field's label, as a screen reader finds it, tells the question it
    // answers (read at where-am-I); the titles stay.
    // It is added once the reader has read the dialog that came up.
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(dialog->inputedit);
    const auto label = [field] {
        const auto labels = field->relations(QAccessible::Label);
        return labels.size() == 1 ? labels.front().first->text(QAccessible::Name) : QString();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return label() != "Enter data"; }, 5000));
    EXPECT_EQ(label(), "Enter data. Last printed: Co udelas?");
    EXPECT_EQ(dialog->accessibleName(), "Enter data");
    EXPECT_EQ(dialog->windowTitle(), "Enter data");

    Journal whileOpen;
    Review([&] {
        whileOpen = System();
        SendKey(virtualScreen->virtualscrmemo, Qt::Key_Down);
        SendKey(virtualScreen->virtualscrmemo, Qt::Key_Right);
        EXPECT_THAT(System(), IsEmpty());
        SendKey(virtualScreen->virtualscrmemo, Qt::Key_F2);
        EXPECT_THAT(System(), ElementsAre("say:line 2, column 2"));
    });
    EXPECT_THAT(whileOpen, ElementsAre("say:Screen"));
    EXPECT_THAT(System(), ElementsAre("say:end of screen"));
    EXPECT_THAT(Heard(), ElementsAre("tone:300", "tone:450", "tone:300", "tone:450"));
}

TEST_F(SpeechModeTest, AloneTheProgramSaysEverythingWithItsOwnVoice)
{
    policy.Choose(SpeechMode::Self);
    speech.SpeakAndWait(Cp("Stojis na namesti."));
    EXPECT_THAT(Heard(), ElementsAre("say:Stojis na namesti."));
    Ask([&] {
        TypeText(dialog->inputedit, "a");
        EXPECT_THAT(Heard(), ElementsAre("say:a"));
    });
    Review([&] {
        Heard();
        SendKey(virtualScreen->virtualscrmemo, Qt::Key_Down);
        EXPECT_THAT(Heard(), ElementsAre("say:Co udelas?" + std::string(70, ' ')));
    });
    EXPECT_THAT(System(), IsEmpty());
}

TEST_F(SpeechModeTest, AutoFollowsTheScreenReaderAChosenModeWinsAndEveryChangeIsReported)
{
    std::vector<SpeechMode> changes;
    policy.OnModeChanged([&](SpeechMode mode) { changes.push_back(mode); });
    EXPECT_EQ(policy.Effective(), SpeechMode::Self);
    policy.SetScreenReaderRunning(true);
    EXPECT_EQ(policy.Effective(), SpeechMode::ScreenReader);
    policy.SetScreenReaderRunning(true);
    policy.Choose(SpeechMode::Self);
    policy.SetScreenReaderRunning(false);
    policy.Choose(SpeechMode::ScreenReader);
    EXPECT_THAT(changes, ElementsAre(SpeechMode::ScreenReader, SpeechMode::Self, SpeechMode::ScreenReader));
    // The modifier keys, the reader's own, leave a line being said alone.
    EXPECT_FALSE(policy.KeyStopsSpeech(/*modifierKey=*/true));
    EXPECT_TRUE(policy.KeyStopsSpeech(/*modifierKey=*/false));
    policy.Choose(SpeechMode::Self);
    EXPECT_TRUE(policy.KeyStopsSpeech(/*modifierKey=*/true));

    // The first look at the desktop ends while the window is built: its
    // answer is taken once, when first needed, and is no change itself; a
    // change seen before it was taken is a change from it.
    SpeechPolicy later;
    std::vector<SpeechMode> laterChanges;
    later.OnModeChanged([&](SpeechMode mode) { laterChanges.push_back(mode); });
    int looks = 0;
    later.AwaitScreenReader([&] { return ++looks, true; });
    EXPECT_EQ(looks, 0);
    EXPECT_FALSE(later.Allows(Utterance::FieldEcho));
    EXPECT_TRUE(later.ScreenReaderRunning());
    EXPECT_EQ(looks, 1);
    later.AwaitScreenReader([] { return true; });
    later.SetScreenReaderRunning(false);
    EXPECT_THAT(laterChanges, ElementsAre(SpeechMode::Self));

    EXPECT_EQ(ParseSpeechMode("ScreenReader"), SpeechMode::ScreenReader);
    EXPECT_EQ(ParseSpeechMode("reader"), std::nullopt);
    std::string error;
    std::vector<std::string> words{"orbela", "--speech-mode", "self"};
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    EXPECT_EQ(ParseCommandLine(3, argv.data(), error)->speechMode, SpeechMode::Self);
    words = {"orbela", "--speech-mode=loud"};
    argv = {words[0].data(), words[1].data()};
    EXPECT_FALSE(ParseCommandLine(2, argv.data(), error));
    EXPECT_EQ(error, "option '--speech-mode' takes auto, self or screenreader");
}

TEST_F(SpeechModeTest, TheSettingsSubmenuChoosesTheModeAndWritesIt)
{
    TempFolder folder;
    IniFile configuration(folder / "orbela.ini");
    QMenu settings;
    SpeechModeMenu menu(settings, policy, configuration, English);
    EXPECT_EQ(menu.Submenu()->text(), "Speech &mode");
    EXPECT_TRUE(menu.Item(SpeechMode::Auto)->isChecked());
    menu.Item(SpeechMode::ScreenReader)->trigger();
    EXPECT_EQ(policy.Chosen(), SpeechMode::ScreenReader);
    EXPECT_FALSE(menu.Item(SpeechMode::Auto)->isChecked());
    EXPECT_EQ(configuration.ReadString("speech", "mode", ""), "screenreader");
    EXPECT_EQ(menu.Item(SpeechMode::Self)->text(), "&Self-voicing");

    // A screen reader sees the items as checkable, and which one is checked.
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(menu.Submenu()->menu());
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->childCount(), 3);
    EXPECT_TRUE(items->child(2)->state().checkable);
    EXPECT_TRUE(items->child(2)->state().checked);
    EXPECT_FALSE(items->child(0)->state().checked);
    EXPECT_EQ(items->child(2)->text(QAccessible::Name), "Screen reader");
}

TEST_F(SpeechModeTest, MenusControlsAndMessageBoxesAreSpokenAloneAndLeftToTheReaderBesideOne)
{
    int language = English;
    InterfaceSpeech voice(speech, language);
    QMenuBar bar;
    QMenu* settings = bar.addMenu("Se&ttings");
    QAction* braille = settings->addAction("&Braille keyboard");
    braille->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    braille->setCheckable(true);
    QMenu* mode = settings->addMenu("Speech &mode");
    QAction* automatic = mode->addAction("&Automatic");
    automatic->setCheckable(true);
    automatic->setChecked(true);
    QAction* both = mode->addAction("Sounds && speech");
    both->setEnabled(false);
    voice.WatchMenuBar(bar);
    EXPECT_EQ(voice.DescribeAction(*settings->menuAction(), bar), "Settings, menu");
    EXPECT_EQ(voice.DescribeAction(*mode->menuAction(), *settings), "Speech mode, menu");
    EXPECT_EQ(voice.DescribeAction(*both, *mode), "Sounds & speech, unavailable");

    policy.Choose(SpeechMode::Self);
    Heard();
    emit settings->hovered(braille);
    braille->setChecked(true);
    emit settings->hovered(braille);
    // Qt repeats a submenu's item on the menus that opened it: said once.
    emit mode->hovered(automatic);
    emit settings->hovered(automatic);
    emit bar.hovered(automatic);
    EXPECT_THAT(Heard(), ElementsAre("say:Braille keyboard, Ctrl+B, not checked",
                                     "say:Braille keyboard, Ctrl+B, checked", "say:Automatic, checked"));

    // A real box: its name, its text and its button before it waits.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        if (QWidget* box = QApplication::activeModalWidget(); box && journal.size() >= 3)
            box->close();
    });
    closer.start(10);
    ShowMessage(nullptr, "Can't find the file sounds.dat");
    QApplication::processEvents();
    const Journal box = Heard();
    ASSERT_EQ(box.size(), 3u);
    EXPECT_THAT(box[0], ::testing::EndsWith(", dialog"));
    EXPECT_EQ(box[1], "say:Can't find the file sounds.dat");
    EXPECT_EQ(box[2], "say:OK, button");

    policy.Choose(SpeechMode::ScreenReader);
    Heard();
    emit settings->hovered(braille);
    QTimer::singleShot(50, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    ShowMessage(nullptr, "Can't find the file sounds.dat");
    EXPECT_THAT(Heard(), IsEmpty());
    EXPECT_THAT(System(), IsEmpty());
}

} // namespace
} // namespace orbela::testing
