// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six-key chord keyboard: F D S J K L are dots 1 to 6, Space alone is
// the space chord. A chord is read from the keys held at each character
// event of the data-entry field and completed at the first release of one
// of its keys.

#include <string>
#include <string_view>

#include "keyboard/key_state.h"

namespace orbela {

class BrailleTable;

// The dot pattern of the chord keys held: the digits of the dots down in
// ascending order; a single space when none of the six is down but Space
// is; empty otherwise. No other key counts.
std::string ReadChord(const KeyState& keys);

enum class KeyRelease { Real, AutoRepeat };

// The chord cycle of the data-entry field while the chord keyboard is on,
// with the prefix state of the chords typed there. The prefix state lives
// as long as this object (the dialog's), so a number sign typed in one
// input stays in effect in the next.
class ChordKeyboard {
public:
    explicit ChordKeyboard(BrailleTable& table) : table_(table) {}

    // A character event: the chord so far is read afresh from the keys, and
    // the text it would produce under the dialog's prefix is returned for
    // the echo. The prefix state is not changed by the echo.
    std::string ChordKeyPressed(const KeyState& keys);

    // A key release: the first real release completes the chord, returning
    // the text to insert (possibly empty) and keeping the prefix state the
    // translation leaves; the releases after it find no chord and return
    // nothing. An auto-repeat release is not a release of the key: it
    // returns nothing and keeps the chord.
    std::string ChordKeyReleased(KeyRelease release);

    // A whole chord at once, as a braille display's keyboard sends it: the
    // text to insert, as a release of the same chord typed on the six keys
    // gives it, prefix state included.
    std::string ChordTyped(std::string_view pattern);

    const std::string& dotpattern() const { return dotpattern_; }
    const std::string& dialogprefix() const { return dialogprefix_; }

private:
    BrailleTable& table_;
    std::string dotpattern_;
    std::string dialogprefix_;
};

} // namespace orbela
