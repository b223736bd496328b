// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/dialog_probe.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace orbela {

namespace {

bool ProbeEnabled()
{
    static const bool enabled = std::getenv("ORBELA_DIALOG_PROBE") != nullptr;
    return enabled;
}

} // namespace

void ArmDialogProbe(QWidget& dialog)
{
    if (!ProbeEnabled())
        return;
    static int shown = 0;
    // A zero timer fires inside the dialog's own loop, once it is shown.
    QTimer::singleShot(0, &dialog, [] {
        std::fprintf(stderr, "orbela-dialog-shown %d\n", ++shown);
        std::fflush(stderr);
    });
}

void ReportDialogText(const QString& text)
{
    if (!ProbeEnabled())
        return;
    std::fprintf(stderr, "orbela-dialog-text %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace orbela
