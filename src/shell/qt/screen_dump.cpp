// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/screen_dump.h"

#include <cstdlib>
#include <fstream>

#include "text/cp1250.h"
#include "runtime/screen.h"

namespace orbela {

void WriteScreenDumpIfAsked(const Screen& screen)
{
    const char* file = std::getenv(ScreenDumpVariable);
    if (!file || !*file)
        return;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int row = 0; row < Screen::Rows; ++row)
        out << Cp1250ToUtf8(screen.Row(row)) << '\n';
}

} // namespace orbela
