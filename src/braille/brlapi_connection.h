// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's connection to BRLTTY through BrlAPI: connects with the
// standard environment (BRLAPI_HOST, BRLAPI_AUTH) and defaults, takes the
// display for one window (tty mode with the window's id under the X
// session's path) or for the session's terminal itself (Wayland: no
// window ids) and gives it back, writes text with dots 7 and 8 under
// the cursor, and reads the display's keys as commands. Every failure is
// quiet: the connection is closed and Connected() turns false, and the
// owner tries again later.
//
// Connecting runs on a thread of its own: a server that accepts the socket
// but never answers must not hold the caller. At most one such thread runs;
// one given up on (AbandonConnecting) closes what it got by itself.

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

    // Starts a connection attempt; false when connected already or when an
    // attempt (also an abandoned one) still runs.
    bool StartConnecting();
    // Readable once the running attempt has ended; -1 when none runs.
    int AttemptDescriptor() const;
    // Takes the ended attempt's result: true when connected now. False while
    // it still runs, or when it failed.
    bool FinishConnecting();
    // Stops waiting for the running attempt (its time is up).
    void AbandonConnecting();
    bool Connecting() const;

    void Disconnect();
    bool Connected() const { return handle_ != nullptr; }
    // The socket to watch for keys and for the server going away; -1 when
    // not connected.
    int FileDescriptor() const { return descriptor_; }

    // Takes the display for the X window `windowId`, giving up any window
    // taken before; false (and disconnected) on failure. SessionTerminal
    // takes the session's own terminal (WINDOWPATH or XDG_VTNR), where
    // windows have no id BRLTTY knows.
    static constexpr std::uint64_t SessionTerminal = 0;
    bool TakeDisplay(std::uint64_t windowId);
    // Leaves tty mode and takes the display again for the same window: the
    // server sizes a client's buffer only when it takes the display.
    bool TakeDisplayAgain();
    // Gives the display back to whatever shows below the program.
    void ReleaseDisplay();
    bool HoldsDisplay() const { return window_.has_value(); }
    // True once after the server reported a new display size (seen while
    // reading keys).
    bool TakeSizeChange();

    // The cells as the server gave them when the display was taken; 0
    // while BRLTTY has no display (not yet, or no longer).
    int Cells() override;
    bool Write(const std::string& utf8Text, std::optional<int> cursorCell) override;
    std::uint64_t Taking() const override { return takings_; }

    // The keys waiting, without blocking; the connection may be closed
    // after (a lost server reads as end of file).
    std::vector<BrailleKey> ReadKeys();

private:
    void Fail();
    void Adopt();
    bool EnterTtyMode(std::uint64_t windowId);

    struct Handle;
    struct Attempt;
    std::unique_ptr<Handle> handle_;
    std::shared_ptr<Attempt> attempt_;
    int descriptor_ = -1;
    int cells_ = 0;
    bool sizeChanged_ = false;
    std::optional<std::uint64_t> window_;
    std::uint64_t takings_ = 0;
};

} // namespace orbela
