// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For checks from outside the process (the end-to-end test): when the
// environment variable ORBELA_SCREEN_DUMP names a file, the screen's 24 rows
// are written to it as UTF-8 lines when the program ends.

namespace orbela {

class Screen;

inline constexpr const char* ScreenDumpVariable = "ORBELA_SCREEN_DUMP";

// Does nothing when the variable is unset or empty; a file that cannot be
// written is skipped silently (the dump is no part of the program's work).
void WriteScreenDumpIfAsked(const Screen& screen);

} // namespace orbela
