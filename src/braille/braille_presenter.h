// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows the active view's line on the display and answers the display's
// keys: panning moves the window over the line here; routing, line keys and
// typed cells go to the view. Writes only what changed, and everything
// again after Invalidate (a new connection, a new display) or when the
// display has been taken anew.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "braille/braille_keys.h"
#include "braille/braille_line.h"

namespace orbela {

class BrailleDisplay;
class BrailleView;

class BraillePresenter {
public:
    explicit BraillePresenter(BrailleDisplay& display) : display_(display) {}

    // Not owned; null shows nothing until a view is set. A new view starts
    // at its line's beginning (or its caret's window).
    void SetView(BrailleView* view);
    BrailleView* View() const { return view_; }

    // Reads the view again and writes the display if its cells changed.
    void Refresh();
    // The next Refresh writes even unchanged cells.
    void Invalidate() { written_.reset(); }

    void HandleKey(const BrailleKey& key);
    // Called when a panning key finds the window at the line's edge (the
    // window stays as it is).
    void SetEdgeSignal(std::function<void()> signal) { edge_ = std::move(signal); }

    // The window of the last Refresh, for tests and the benchmark.
    const std::optional<BrailleWindow>& Written() const { return written_; }

private:
    BrailleDisplay& display_;
    BrailleView* view_ = nullptr;
    BrailleLine line_;
    bool newView_ = true;
    std::optional<BrailleWindow> written_;
    std::uint64_t writtenTaking_ = 0;
    std::function<void()> edge_;
};

} // namespace orbela
