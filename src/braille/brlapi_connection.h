// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's connection to BRLTTY through BrlAPI: connects with the
// standard environment (BRLAPI_HOST, BRLAPI_AUTH) and defaults, takes the
// display for one window (tty mode with the window's id under the X
// session's path) and gives it back, writes text with dots 7 and 8 under
// the cursor, and reads the display's keys as commands. Every failure is
// quiet: the connection is closed and Connected() turns false, and the
// owner tries again later.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "braille/braille_display.h"

namespace orbela {

class BrlapiConnection final : public BrailleDisplay {
public:
    BrlapiConnection();
    ~BrlapiConnection() override;
    BrlapiConnection(const BrlapiConnection&) = delete;
    BrlapiConnection& operator=(const BrlapiConnection&) = delete;

    // True when connected (already, or now).
    bool Connect();
    void Disconnect();
    bool Connected() const { return handle_ != nullptr; }
    // The socket to watch for keys; -1 when not connected.
    int FileDescriptor() const { return descriptor_; }

    // Takes the display for the window `windowId`, giving up any window
    // taken before; false (and disconnected) on failure.
    bool TakeDisplay(std::uint64_t windowId);
    // Gives the display back to whatever shows below the program.
    void ReleaseDisplay();
    bool HoldsDisplay() const { return window_.has_value(); }

    // 0 while BRLTTY has no display (not yet, or no longer).
    int Cells() override;
    bool Write(const std::string& utf8Text, std::optional<int> cursorCell) override;

    // The keys waiting, without blocking; the connection may be closed
    // after (a lost server reads as end of file).
    std::vector<BrailleKey> ReadKeys();

private:
    void Fail();

    struct Handle;
    std::unique_ptr<Handle> handle_;
    int descriptor_ = -1;
    std::optional<std::uint64_t> window_;
};

} // namespace orbela
