// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the start-up benchmark: when ORBELA_STARTUP_PROBE is set, the moment
// at which the main window is shown and the message loop has gone idle is
// written to standard error as "orbela-startup-idle <seconds since the
// epoch, with nanoseconds>", and each step marked on the way as
// "orbela-startup-step <name> <seconds since the epoch>".

class QWidget;

namespace orbela {

// Call after showing the window, before running the loop.
void ArmStartupProbe(QWidget& window);

// Notes that the start has reached the named step (one word).
void MarkStartupStep(const char* name);

} // namespace orbela
