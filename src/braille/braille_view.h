// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a window offers the braille display: one line of text (the runtime's
// Windows-1250), perhaps a caret in it, and what the display's keys do
// there. Every window kind implements the keys it has; the rest do
// nothing.

#include <optional>
#include <string>

namespace orbela {

class BrailleView {
public:
    virtual ~BrailleView() = default;
    virtual std::string Line() const = 0;
    // The caret's column in Line(), when the window has a caret.
    virtual std::optional<int> Caret() const { return std::nullopt; }
    // A routing key over `column` of the line.
    virtual void RouteTo(int /*column*/) {}
    // The line keys: -1 up, +1 down.
    virtual void MoveLine(int /*delta*/) {}
    // A cell typed on the display's braille keyboard, as a chord pattern.
    virtual void TypeChord(const std::string& /*pattern*/) {}
};

} // namespace orbela
