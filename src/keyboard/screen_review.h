// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The review's copy of the screen and the arithmetic of its positions: a
// position counts each line break as the two characters (CR LF) the screen
// text has, where an editor counts one. Also the edge latch: a key that
// reaches the text's edge is answered by a click from its second press on.

#include <cstddef>
#include <string>

namespace orbela {

class ScreenReview {
public:
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& Text() const { return text_; }

    // The review's position from an editor's, which counts one character
    // per line break: `editorPosition` plus the breaks before it (`line`).
    static std::size_t Position(int editorPosition, int line) { return static_cast<std::size_t>(editorPosition + line); }
    // Back from the review's position to the editor's.
    int EditorPosition(std::size_t position) const;
    // The line's text without its line break; empty past the last line.
    std::string LineText(int line) const;

    // Whether a key that leaves the caret `atEdge` is to click: at the edge
    // the first time it only notes it, from the second time on it clicks.
    bool EdgeClicks(bool atEdge);

private:
    std::string text_;
    bool screenedge_ = false;
};

} // namespace orbela
