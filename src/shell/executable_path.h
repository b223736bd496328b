// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace orbela {

// The full path of the running executable.
std::filesystem::path ExecutablePath();

// The configuration file's name: the executable's full path with its
// extension replaced by ".ini" (an executable without extension gets ".ini"
// appended). It does not depend on the current directory.
std::filesystem::path ConfigurationPathFor(const std::filesystem::path& executable);

// The main window's caption stem: the full path up to its first ".", and of
// that only what follows the last separator.
std::string ExecutableCaptionName(const std::filesystem::path& executable);

} // namespace orbela
