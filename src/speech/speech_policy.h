// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who speaks what: the program alone (self-voicing), or beside a screen
// reader that already reads the focus, the menus and the typed keys. The
// handlers name what they are about to say; this one place answers whether
// the program says it, and through which engine.

#include <functional>
#include <optional>
#include <string_view>

namespace orbela {

enum class SpeechMode {
    Auto,          // follows whether the desktop's screen reader runs
    Self,          // the program speaks everything
    ScreenReader,  // the program speaks only what a screen reader cannot know
};

// "auto", "self", "screenreader"; nullopt for anything else (case ignored).
std::optional<SpeechMode> ParseSpeechMode(std::string_view text);
std::string_view SpeechModeName(SpeechMode mode);

// What a handler is about to say.
enum class Utterance {
    PrintedLine,       // a line the hosted program prints
    FieldEcho,         // the data-entry field's keys, characters, words, text
    ChordCharacter,    // the character a braille chord types
    ReviewText,        // the screen review's lines, words and characters
    ReviewPosition,    // the review's line and column (F2)
    ReviewBoundary,    // the review's "Screen" and "end of screen"
    Focus,             // a menu item or a dialog's control getting the focus
    Message,           // a message box's text and button
    ModeAnnouncement,  // the speech mode just changed
    Confirmation,      // a result no control shows ("Voice selected.")
};

class SpeechPolicy {
public:
    using ModeChanged = std::function<void(SpeechMode effective)>;

    SpeechMode Chosen() const { return chosen_; }
    // Auto resolves to ScreenReader while a screen reader runs, else Self.
    SpeechMode Effective() const;
    bool ScreenReaderRunning() const;

    void Choose(SpeechMode mode);
    void SetScreenReaderRunning(bool running);
    // The first answer to whether a screen reader runs, when it is still
    // being looked for: the first question that needs it waits for it.
    // Setting it does not count as a change.
    void AwaitScreenReader(std::function<bool()> firstAnswer) { pending_ = std::move(firstAnswer); }
    // Called after Choose or SetScreenReaderRunning changed the effective
    // mode (not at the first setting).
    void OnModeChanged(ModeChanged handler) { changed_ = std::move(handler); }

    bool Allows(Utterance what) const;
    // Whether a key pressed in any of the program's windows silences what
    // the program is saying. Beside a screen reader the modifier keys (its
    // own command and silence keys among them) leave it alone.
    bool KeyStopsSpeech(bool modifierKey) const
    {
        return !modifierKey || Effective() != SpeechMode::ScreenReader;
    }
    // Beside a screen reader the program speaks through the desktop's speech
    // service, where the screen reader's speech is queued too, so the two
    // never sound at once.
    bool UsesSystemService() const { return Effective() == SpeechMode::ScreenReader; }

private:
    void Update(SpeechMode before);
    void TakeFirstAnswer() const;

    SpeechMode chosen_ = SpeechMode::Auto;
    mutable bool screenReaderRunning_ = false;
    mutable std::function<bool()> pending_;
    ModeChanged changed_;
};

} // namespace orbela
