// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/startup_probe.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace orbela {
namespace {

bool ProbeWanted()
{
    static const bool wanted = std::getenv("ORBELA_STARTUP_PROBE") != nullptr;
    return wanted;
}

void WriteStamp(const char* label, const char* name)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "%s%s %lld.%09ld\n", label, name, static_cast<long long>(now.tv_sec), now.tv_nsec);
    std::fflush(stderr);
}

} // namespace

void ArmStartupProbe(QWidget& window)
{
    if (!ProbeWanted())
        return;
    // A zero timer fires once the events queued by showing the window have
    // been handled.
    QTimer::singleShot(0, &window, [] { WriteStamp("orbela-startup-idle", ""); });
}

void MarkStartupStep(const char* name)
{
    if (ProbeWanted())
        WriteStamp("orbela-startup-step ", name);
}

} // namespace orbela
