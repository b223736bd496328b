// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of Program/Start that both front-ends share: everything between
// disabling the menu (or its terminal equivalent) and enabling it again.

#include <filesystem>

namespace orbela {

class Runtime;

inline const std::filesystem::path DataFileName = "data.dta";

// Opens "data.dta" for reading when it exists (raising Error with the
// system's reason when it exists but cannot be opened, before anything
// runs), sets startedonce, resets the runtime, runs the hosted program,
// prints "ready" in the current language, and closes the data file.
void RunHostedProgram(Runtime& runtime);

} // namespace orbela
