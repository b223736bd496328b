// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal front-end: hosts the core in a text terminal and runs the
// hosted program once, as Program/Start does, then ends.

#include "shell/terminal/command_line.h"

namespace orbela {

// Returns the process's exit code.
int RunTerminal(const CommandLine& options);

} // namespace orbela
