// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace orbela {

void QuickExit::EndAtOnce()
{
    if (beforeExit_)
        beforeExit_();
    for (const auto& step : lastSteps_)
        step();
    std::cout.flush();
    std::cerr.flush();
    // Only our own streams: flushing every stream would wait for the locks
    // that engine threads hold on theirs (the speech service's socket).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

} // namespace orbela
