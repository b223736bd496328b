// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keys and its chord keyboard switch.

#include <QAction>
#include <QKeyEvent>
#include <QTimer>

#include "i18n/qt/qt_text.h"
#include "keyboard/braille_table.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/tform6.h"
#include "keyboard/qt/virtual_key.h"
#include "text/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime.h"
#include "settings/configuration.h"
#include "shell/data_files.h"
#include "shell/qt/tform1.h"
#include "speech/speech_service.h"

namespace orbela {
namespace {

// The tone pair of the switch: rising when the chord keyboard goes on,
// falling when it goes off.
constexpr double LowPitch = 400;
constexpr double HighPitch = 600;
constexpr double SwitchWaveset = 3;
constexpr double SwitchLength = 50;

// What a key-reading statement would take from keybuffer: the character
// typed, or for a key that types none a zero byte and its virtual-key code.
std::string KeyBufferEntry(const QKeyEvent& event)
{
    if (!event.text().isEmpty())
        return ToCp1250(event.text());
    return std::string{'\0', static_cast<char>(VirtualKeyOf(event))};
}

} // namespace

void TForm1::LoadBrailleTableFile()
{
    if (!braille_)
        return;
    try {
        // What the file holds beyond the tables is left out and told once.
        const auto file = RequireDataFile(DataFoldersFor(executable_), BrailleTableFileName);
        if (const BrailleTableSurplus surplus = braille_->LoadBrailleTable(file))
            report_.Report(surplus.Message());
    } catch (const Error& error) {
        // Without the table only the space chord types anything.
        report_.Report(error.what());
    }
}

void TForm1::braillekeyboarditemClick()
{
    if (braillekeyboarditem->isChecked()) {
        // A checkable item has already toggled its mark when this runs: the
        // item was off and is now on.
        SwitchTones(LowPitch, HighPitch);
    } else {
        SwitchTones(HighPitch, LowPitch);
    }
    runtime_.State().braillekeys = braillekeyboarditem->isChecked();
    SaveConfiguration(configuration_, runtime_.State());
}

void TForm1::SwitchTones(double first, double second)
{
    FinishStartup();
    // Answered by a menu key: the tones are its echo, queued rather than
    // waited for.
    for (const double pitch : {first, second}) {
        if (speech_)
            speech_->EchoTone({pitch}, SwitchWaveset, SwitchLength);
        else
            runtime_.Tone({pitch}, SwitchWaveset, SwitchLength);
    }
}

bool TForm1::FormKeyEvent(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    runtime_.State().keybuffer = KeyBufferEntry(key);
    FormKeyDown(VirtualKeyOf(key), key.modifiers());
    return false;
}

void TForm1::FormKeyDown(int virtualKey, Qt::KeyboardModifiers modifiers)
{
    if (speech_ && speech_->KeyStopsSpeech(IsModifierKey(virtualKey)))
        speech_->StopSpeech();
    RuntimeState& state = runtime_.State();
    if (state.timerwait) {
        // A tone waiting for its length to pass ends now.
        state.timerwait = false;
        Timer->stop();
    }
    const auto held = [this](int other) { return keys_ && keys_->IsDown(other); };
    const bool alone = !modifiers.testFlag(Qt::ShiftModifier) && !held(VirtualKey::Space) &&
                       !held(VirtualKey::Left) && !held(VirtualKey::Right);
    const bool review = (virtualKey == VirtualKey::Up && alone && !held(VirtualKey::Down)) ||
                        (virtualKey == VirtualKey::Down && alone && !held(VirtualKey::Up));
    if (review) {
        if (state.startedonce && virtualScreen_)
            virtualScreen_->OpenVirtualScreen();
    } else if (virtualKey == VirtualKey::F4 && modifiers.testFlag(Qt::AltModifier)) {
        EndProgramAtOnce();
    }
}

} // namespace orbela
