// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop front-end: the windows of the program on Qt Widgets.

#include <string>

#include "shell/terminal/command_line.h"

namespace orbela {

// Creates the application object and the windows, runs the message loop
// until the main window closes, and returns the exit code (0).
int RunDesktop(int argc, char** argv, const CommandLine& options);

// A failure before the main window exists (Windows-1250 text): shown in a
// message box that the program's own voice reads, as the main window's
// start-up messages are, or written to standard error where no window can
// open. Returns the exit code (1) once the box is closed.
int ReportStartupFailure(int argc, char** argv, const CommandLine& options, const std::string& cp1250Message);

} // namespace orbela
