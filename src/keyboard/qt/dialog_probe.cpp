// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/dialog_probe.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace orbela {

void ArmDialogProbe(QWidget& dialog)
{
    static const bool enabled = std::getenv("ORBELA_DIALOG_PROBE") != nullptr;
    if (!enabled)
        return;
    static int shown = 0;
    // A zero timer fires inside the dialog's own loop, once it is shown.
    QTimer::singleShot(0, &dialog, [] {
        std::fprintf(stderr, "orbela-dialog-shown %d\n", ++shown);
        std::fflush(stderr);
    });
}

} // namespace orbela
