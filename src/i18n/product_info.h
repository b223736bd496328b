// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's name, version, copyright and licence, kept in one place:
// --version prints them and the About box shows them. The version number
// comes from the build (the CMake project's version).

#include <string>

namespace orbela {

// "1.7".
std::string ProgramVersion();
// "Copyright (C) 2026 The orbela developers".
std::string CopyrightLine();
// The licence's SPDX identifier and its full name.
std::string LicenceLine();
// What --version prints: the name and version, the copyright line, the
// licence line and the warranty notice, one per line.
std::string VersionText();

} // namespace orbela
