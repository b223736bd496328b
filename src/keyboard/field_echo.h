// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the data-entry field says and sounds in answer to its keys: the
// characters removed or reached, the words, the whole text, and the clicks
// and beeps at its edges. The dialog hands over the key, the text and the
// caret; the answers are queued as the key's echo, never waited for.

#include <string>

namespace orbela {

class Runtime;
class Screen;
class SpeechService;

class FieldEcho {
public:
    // Either may be null: without speech the field is silent, without the
    // runtime it makes no sound.
    FieldEcho(Runtime* runtime, SpeechService* speech, int language)
        : runtime_(runtime), speech_(speech), language_(language)
    {
    }

    // A key going down, before the field handles it: Backspace and Delete
    // name what they remove, Alt+Up reads the field, and with the chord
    // keyboard off any other key names what it types (`typed`).
    void KeyDown(int virtualKey, bool alt, const std::string& typed, const std::string& text, int caret);
    // A key coming up, after the field moved the caret: Left, Right, Home
    // and End answer where it stands.
    void KeyUp(int virtualKey, bool ctrl, const std::string& text, int caret);
    // The answer to Right without Ctrl: the character at the caret, or at
    // the field's end the edge's click (a beep at the second).
    void CaretReached(const std::string& text, int caret);
    // The field's whole text, or "empty line".
    void WholeField(const std::string& text);

    void Character(const std::string& cp1250Text);
    // A braille chord's character, which no key the screen reader hears types.
    void ChordCharacter(const std::string& cp1250Text);
    void Text(const std::string& cp1250Text);

private:
    void Beep();
    void BeepAfterEcho();
    void Click();

    Runtime* runtime_;
    SpeechService* speech_;
    int language_;
    bool dialogedge_ = false;
};

// The last row of the screen with text on it, without its trailing blanks:
// the question the field answers. Empty when the screen is blank.
std::string LastPrintedRow(const Screen& screen);

} // namespace orbela
