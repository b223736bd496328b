// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/product_info.h"

#ifndef ORBELA_VERSION
#error "ORBELA_VERSION is set by the build from the project's version"
#endif

namespace orbela {

std::string ProgramVersion()
{
    return ORBELA_VERSION;
}

std::string CopyrightLine()
{
    return "Copyright (C) 2026 The orbela developers";
}

std::string LicenceLine()
{
    return "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>";
}

std::string VersionText()
{
    return "orbela " + ProgramVersion() + "\n" + CopyrightLine() + "\n" + LicenceLine() + "\n" +
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace orbela
