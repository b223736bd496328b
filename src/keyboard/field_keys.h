// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a key going down in the data-entry field does before the field sees
// it: whether it silences speech, its echo, and the keys that leave the
// field's own handling: Up and Down open the screen review, Alt+F4 ends the
// program, Ctrl+Left and Ctrl+Right jump by word (the field's own word
// jumps follow other rules than the words read).

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace orbela {

class FieldEcho;
class SpeechService;

class FieldKeys {
public:
    struct Commands {
        // Opens the review of the screen; returns when it closes.
        std::function<void()> openReview;
        // Writes the memory image and ends the process.
        std::function<void()> endProgram;
    };

    // `echo` must outlive this object; `speech` may be null (silent field),
    // and so may either command (the key does nothing more).
    FieldKeys(SpeechService* speech, FieldEcho& echo, Commands commands)
        : speech_(speech), echo_(echo), commands_(std::move(commands))
    {
    }

    struct Key {
        int virtualKey = 0;
        bool alt = false;
        bool ctrl = false;
        bool shift = false;
    };
    // `typed` is what the key types, said as its echo; `text` and `caret`
    // are the field's before the key. Returns where the caret goes when
    // the field must not see the key (a word jump).
    std::optional<int> KeyDown(const Key& key, const std::string& typed, const std::string& text, int caret);

private:
    SpeechService* speech_;
    FieldEcho& echo_;
    Commands commands_;
};

} // namespace orbela
