// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keys: every key silences speech and ends a tone's
// wait, Up or Down alone opens the screen review once a run has started,
// Alt+F4 ends the program; and the chord keyboard's switch.

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include "i18n/qt/qt_test_support.h"
#include "keyboard_fixture.h"
#include "settings/ini_file.h"
#include "shell/qt/process_end.h"
#include "shell/qt/tform1.h"
#include "speech/recording_engine.h"
#include "support/temp_folder.h"

namespace orbela::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CountingEnd final : public ProcessEnd {
public:
    void EndAtOnce() override
    {
        ++calls;
        ramWritten = std::filesystem::exists("ram.dat");
    }
    int calls = 0;
    bool ramWritten = false;
};

class MainWindowKeysTest : public KeyboardWindowsTest {
protected:
    MainWindowKeysTest() : previousDirectory(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder.Path());
    }
    ~MainWindowKeysTest() override
    {
        form1.reset();
        std::filesystem::current_path(previousDirectory);
    }

    void Create()
    {
        TForm1Services services;
        services.speech = &speech;
        services.braille = &formTable;
        services.keys = &keys;
        form1 = std::make_unique<TForm1>(runtime, configuration, report, end, folder / "orbela", services);
        form1->SetVirtualScreen(virtualScreen.get());
        // The window's creation leaves the engine to the voice selection.
        speech.VoiceSelected();
        form1->show();
        form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
        Heard();
    }

    QWidget* memo() const { return form1->printmemo; }

    // Sends the key down (and up) to the screen; counts the reviews opened,
    // closing each by Escape.
    int ReviewsOpenedBy(std::function<void()> keys)
    {
        int opened = 0;
        std::function<void()> answer = [&] {
            ++opened;
            SendKey(virtualScreen->virtualscrmemo, Qt::Key_Escape);
        };
        WhenModal(virtualScreen.get(), answer);
        keys();
        QApplication::processEvents();
        return opened;
    }

    TempFolder folder;
    std::filesystem::path previousDirectory;
    IniFile configuration{folder / "orbela.ini"};
    RecordingErrorReport report;
    CountingEnd end;
    BrailleTable formTable;
    std::unique_ptr<TForm1> form1;
};

TEST_F(MainWindowKeysTest, ShiftDuringASpeechWaitStopsItAndTheWaitReturns)
{
    Create();
    auto held = std::make_unique<RecordingEngine>(poster, RecordingEngine::Playback::Held);
    RecordingEngine* engine = held.get();
    speech.SetEngine(EngineSlot::Embedded, std::move(held));
    bool rescued = false;
    QTimer::singleShot(20, [&] { Press(memo(), Qt::Key_Shift, Qt::ShiftModifier); });
    // Keeps a broken stop from hanging the test.
    QTimer::singleShot(3000, [&] {
        rescued = true;
        engine->Finish();
    });
    speech.SpeakAndWait(Cp("Dlouhý popis místnosti"));
    EXPECT_FALSE(rescued);
    ASSERT_EQ(engine->Commands().size(), 2u);
    EXPECT_EQ(engine->Commands().back().kind, RecordingEngine::Command::Kind::Reset);
    Release(memo(), Qt::Key_Shift);
}

TEST_F(MainWindowKeysTest, AnyKeyEndsTheWaitOfATone)
{
    Create();
    runtime.State().timerwait = true;
    form1->Timer->start(100000);
    SendKey(memo(), Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_FALSE(form1->Timer->isActive());
    // The last key is kept for a key-reading statement.
    EXPECT_EQ(runtime.State().keybuffer, "x");
    SendKey(memo(), Qt::Key_F7);
    EXPECT_EQ(runtime.State().keybuffer, std::string({'\0', char(118)}));
}

TEST_F(MainWindowKeysTest, UpAndDownOpenTheReviewOnlyAloneAndOnceARunHasStarted)
{
    WriteRow(0, "Vitej.");
    Create();
    EXPECT_EQ(ReviewsOpenedBy([&] { SendKey(memo(), Qt::Key_Down); }), 0);
    EXPECT_THAT(Heard(), IsEmpty());

    runtime.State().startedonce = true;
    EXPECT_EQ(ReviewsOpenedBy([&] { SendKey(memo(), Qt::Key_Down); }), 1);
    // The window reads the language of the configuration: Czech by default.
    EXPECT_THAT(Heard(), Contains("say:Obrazovka"));
    EXPECT_EQ(ReviewsOpenedBy([&] { SendKey(memo(), Qt::Key_Up); }), 1);

    EXPECT_EQ(ReviewsOpenedBy([&] { SendKey(memo(), Qt::Key_Down, Qt::ShiftModifier); }), 0);
    EXPECT_EQ(ReviewsOpenedBy([&] {
                  Press(memo(), Qt::Key_Space, Qt::NoModifier, " ");
                  SendKey(memo(), Qt::Key_Down);
                  Release(memo(), Qt::Key_Space, Qt::NoModifier, " ");
              }),
              0);
    // Up held (its own press opens the review once), then Down with it.
    EXPECT_EQ(ReviewsOpenedBy([&] {
                  Press(memo(), Qt::Key_Up);
                  SendKey(memo(), Qt::Key_Down);
                  Release(memo(), Qt::Key_Up);
              }),
              1);
    EXPECT_EQ(ReviewsOpenedBy([&] {
                  Press(memo(), Qt::Key_Right);
                  SendKey(memo(), Qt::Key_Up);
                  Release(memo(), Qt::Key_Right);
              }),
              0);

    runtime.State().ramimage[50730] = 1;
    EXPECT_EQ(ReviewsOpenedBy([&] { SendKey(memo(), Qt::Key_Down); }), 0);
}

TEST_F(MainWindowKeysTest, AltF4WritesTheRamImageAndEndsTheProcess)
{
    Create();
    SendKey(memo(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(end.calls, 1);
    EXPECT_TRUE(end.ramWritten);
}

TEST_F(MainWindowKeysTest, CtrlBSwitchesTheChordKeyboardWithRisingThenFallingTonesAndSavesIt)
{
    Create();
    ASSERT_TRUE(form1->braillekeyboarditem->isEnabled());
    EXPECT_FALSE(runtime.State().braillekeys);
    QTest::keyClick(form1.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(runtime.State().braillekeys);
    EXPECT_TRUE(form1->braillekeyboarditem->isChecked());
    EXPECT_THAT(Heard(), ElementsAre("tone:400", "tone:600"));
    EXPECT_TRUE(configuration.ReadBool("keyboard", "braillekeys", false));

    QTest::keyClick(form1.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(runtime.State().braillekeys);
    EXPECT_THAT(Heard(), ElementsAre("tone:600", "tone:400"));
    EXPECT_FALSE(configuration.ReadBool("keyboard", "braillekeys", true));

    // With the notetaker sounds off the switch is silent.
    runtime.State().orbelasounds = false;
    form1->braillekeyboarditem->trigger();
    EXPECT_TRUE(runtime.State().braillekeys);
    EXPECT_THAT(Heard(), IsEmpty());
}

TEST_F(MainWindowKeysTest, TheTableIsLoadedAtStartAndAMissingOneIsReportedOnce)
{
    // Only the table is missing.
    std::filesystem::copy_file(ORBELA_DATA_DIR "/czech.eky", folder / "czech.eky");
    Create();
    // Named with the places searched: the current directory first.
    const std::string missing = "File not found: czech.ebt (searched: " + folder.Path().string() + ", ";
    EXPECT_EQ(std::count_if(report.messages.begin(), report.messages.end(),
                            [&missing](const std::string& message) { return message.starts_with(missing); }),
              1);
    formTable.activeprefix.clear();
    EXPECT_EQ(formTable.TranslateChord(" "), " ");
    EXPECT_EQ(formTable.TranslateChord("1"), "");
    form1.reset();

    std::filesystem::copy_file(ORBELA_DATA_DIR "/czech.ebt", folder / "czech.ebt");
    report.messages.clear();
    Create();
    EXPECT_EQ(std::count(report.messages.begin(), report.messages.end(), "File not found"), 0);
    EXPECT_EQ(formTable.TranslateChord("1"), "a");
}

} // namespace
} // namespace orbela::testing
