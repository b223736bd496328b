// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime statements that the hosted program calls, over the screen,
// the data-entry dialog, the speech output and the clock. All text is
// Windows-1250.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime_state.h"
#include "runtime/sounding_tone.h"

namespace orbela {

class Screen;
class InputDialog;
class SpeechOutput;
class Clock;
class PrintListener;
class ToneSounds;
class ToneTimer;
class MessagePump;

// Line-end modes of Print; any other value behaves as Stay.
enum class LineEnd : std::uint8_t { NewLine = 0, Stay = 1, NextTab = 2 };

// Modes of the input statements; any other value behaves as UsePending.
enum class InputMode : std::uint8_t {
    Fresh = 0,          // pending input is discarded, no prompt
    UsePending = 1,     // the rest of the last line is used; prompt when typing
    FreshPrompted = 2,  // pending input is discarded; prompt when typing
};

class Runtime {
public:
    Runtime(Screen& screen, InputDialog& dialog, SpeechOutput& speech, Clock& clock);

    RuntimeState& State() { return state_; }
    const RuntimeState& State() const { return state_; }
    Screen& GetScreen() { return screen_; }
    Clock& GetClock() { return clock_; }
    // The speech output may be exchanged when the engine changes.
    void SetSpeech(SpeechOutput& speech) { speech_ = &speech; }
    // Told of every Print between the screen writer and the speech. Not
    // owned; null detaches.
    void SetPrintListener(PrintListener* listener) { printListener_ = listener; }
    // What the sound statements play on, arm and pump. Not owned; without
    // sounds they are silent, without a timer or pump a tone does not wait
    // on the message loop.
    void SetToneSounds(ToneSounds* sounds) { sounds_ = sounds; }
    void SetToneTimer(ToneTimer* timer) { toneTimer_ = timer; }
    void SetMessagePump(MessagePump& pump) { pump_ = &pump; }

    // Called by Program/Start right before the hosted program's entry.
    void ResetRuntime();
    std::uint8_t Peek(double address) const;

    void Print(std::string_view text, std::uint8_t mode);
    void Print(std::string_view text, LineEnd end = LineEnd::NewLine)
    {
        Print(text, static_cast<std::uint8_t>(end));
    }
    // The screen writer under Print; takes the line-end mode from printmode.
    void WriteScreen(std::string_view text);

    void InputText(std::string& destination, std::uint8_t mode);
    void InputText(std::string& destination, InputMode mode = InputMode::Fresh)
    {
        InputText(destination, static_cast<std::uint8_t>(mode));
    }
    void InputNumber(double& destination, std::uint8_t mode);
    void InputNumber(double& destination, InputMode mode = InputMode::Fresh)
    {
        InputNumber(destination, static_cast<std::uint8_t>(mode));
    }

    // The hosted program's pause: a plain blocking wait.
    void Sleep(std::chrono::milliseconds duration);

    // A chord of looped waves "snd" + position + wave set, held for the
    // length in milliseconds while messages are pumped, then stopped. A wave
    // set above 9 or a negative length repeats the last tone's.
    void Tone(const std::vector<double>& pitches, double waveset, double length);
    // The tone in two halves, for callers that must not wait (a key's
    // echo): StartTone starts the chord and tells how long it is to sound
    // (0 when nothing sounds); StopTone ends that chord.
    SoundingTone StartTone(const std::vector<double>& pitches, double waveset, double length);
    void StopTone(const SoundingTone& tone);
    // The wave "beep", played to its end.
    void Beep();
    // The wave "click" + the number's integer part, played to its end.
    void Click(double number);

private:
    // The screen writer; returns the column where the text itself ended,
    // before the line-end mode moved the cursor on.
    int WriteRows(std::string_view text);
    // Pads the row to a full screen width and overwrites it from the column.
    void WriteRow(int row, int column, std::string_view piece);
    // Moves to the next row, scrolling when it runs off the bottom.
    void NextRow(int& row, int& column);
    void SpeakPrinted(std::string_view text);
    // Asks for a line; returns the dialog's modal result.
    int AskForLine(std::uint8_t mode);

    RuntimeState state_;
    Screen& screen_;
    InputDialog& dialog_;
    SpeechOutput* speech_;
    Clock& clock_;
    PrintListener* printListener_ = nullptr;
    ToneSounds* sounds_ = nullptr;
    ToneTimer* toneTimer_ = nullptr;
    MessagePump* pump_ = nullptr;
};

} // namespace orbela
