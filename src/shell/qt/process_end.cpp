#include "shell/qt/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace orbela {

void QuickExit::EndAtOnce()
{
    if (beforeExit_)
        beforeExit_();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace orbela
