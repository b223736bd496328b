// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop front-end: the windows of the program on Qt Widgets.

#include "shell/terminal/command_line.h"

namespace orbela {

// Creates the application object and the windows, runs the message loop
// until the main window closes, and returns the exit code (0).
int RunDesktop(int argc, char** argv, const CommandLine& options);

} // namespace orbela
