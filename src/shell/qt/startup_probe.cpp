// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/startup_probe.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace orbela {

void ArmStartupProbe(QWidget& window)
{
    if (!std::getenv("ORBELA_STARTUP_PROBE"))
        return;
    // A zero timer fires once the events queued by showing the window have
    // been handled.
    QTimer::singleShot(0, &window, [] {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "orbela-startup-idle %lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stderr);
    });
}

} // namespace orbela
