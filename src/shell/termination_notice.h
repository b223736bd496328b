// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C, a closed terminal or a polite kill (SIGINT, SIGHUP, SIGTERM) end
// the program as its exit command does. The handler does nothing but leave
// a notice: it writes a byte into a pipe, which the front-end's own loop
// watches and answers with an orderly end that saves from live objects.
// While the notice exists the handler is installed; destroying it (after
// the run's objects) restores what was there before, so a late signal can
// never touch freed memory.

namespace orbela {

class TerminationNotice {
public:
    // One at a time per process.
    TerminationNotice();
    ~TerminationNotice();
    TerminationNotice(const TerminationNotice&) = delete;
    TerminationNotice& operator=(const TerminationNotice&) = delete;

    // Readable once a signal has arrived. The terminal's waits never read
    // it, so it stays readable for each of them; the window's watch, its
    // only reader there, empties it to hear the next signal.
    int Descriptor() const { return readEnd_; }
    // The signal that arrived first, 0 while none has.
    int Signal() const;

private:
    int readEnd_ = -1;
    int writeEnd_ = -1;
};

} // namespace orbela
