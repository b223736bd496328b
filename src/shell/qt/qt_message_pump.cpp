// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/qt_message_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace orbela {

void QtMessagePump::ProcessPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessagePump::WaitAndProcess()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace orbela
