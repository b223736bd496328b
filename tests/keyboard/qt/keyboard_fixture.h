// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard windows on a real application: key events go through
// QApplication (so the key-state filter sees them), speech goes to an
// engine that writes what it is asked to say into a journal, and the sound
// statements write the waves they play into the same journal, so that a
// test reads what the user hears in its order.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "keyboard/braille_table.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/tform2.h"
#include "keyboard/qt/tform6.h"
#include "keyboard/qt/virtual_key.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/tone_sounds.h"
#include "shell/qt/qt_message_pump.h"
#include "speech/gui_thread_poster.h"
#include "speech/qt/qt_gui_thread_poster.h"
#include "speech/speech_service.h"
#include "support/fakes.h"

class QWidget;

namespace orbela::testing {

// "say:<text>" for speech (UTF-8), "sound:<wave>" for Beep and Click,
// "tone:<pitch>" for each wave of a tone, "tone:cap" for the capital tone.
using Journal = std::vector<std::string>;

class JournalSounds final : public ToneSounds {
public:
    explicit JournalSounds(Journal& journal);
    ~JournalSounds() override;
    ToneSound& FindSound(std::string_view name) override;
    void PlaySoundEffect(std::string_view name, std::int32_t sndvolume) override;
    // Names looked up among these raise "Wave '%s' not found".
    std::vector<std::string> missing;

private:
    class Wave;
    Journal& journal_;
    std::vector<std::unique_ptr<Wave>> waves_;
};

// An engine that writes "say:<text>" into `journal` and reports each text
// as played at once.
std::unique_ptr<SpeechEngine> MakeJournalEngine(GuiThreadPoster& poster, Journal& journal);

// A press or a release alone, through the application.
void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});
void Release(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});

class KeyboardWindowsTest : public ::testing::Test {
protected:
    KeyboardWindowsTest();
    ~KeyboardWindowsTest() override;

    // The journal since the last call, emptied, once the echo queued so far
    // has played.
    Journal Heard();
    // Writes row `row` of the screen as the output statement would.
    void WriteRow(int row, const std::string& utf8Text);

    Journal journal;
    Screen screen;
    ScriptedDialog unusedDialog;
    RecordingSpeech unusedSpeech;
    VirtualClock clock;
    Runtime runtime{screen, unusedDialog, unusedSpeech, clock};
    JournalSounds sounds{journal};
    QtMessagePump pump;
    QtGuiThreadPoster poster;
    SpeechService speech{runtime.State(), pump};
    KeyStateTable keys;
    std::unique_ptr<KeyStateFilter> keyFilter;
    BrailleTable braille;
    std::unique_ptr<TForm6> virtualScreen;
    std::unique_ptr<TForm2> dialog;
    int endRequests = 0;
};

} // namespace orbela::testing
