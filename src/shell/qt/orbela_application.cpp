// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/orbela_application.h"

#include <exception>

#include "runtime/error_report.h"
#include "shell/qt/screen_reader_key_relay.h"

namespace orbela {

OrbelaApplication::OrbelaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrbelaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        if (keyRelay_ && keyRelay_->Take(receiver, event))
            return true;
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (report_)
            report_->Report(error.what());
    } catch (...) {
        if (report_)
            report_->Report("Unknown error");
    }
    return false;
}

} // namespace orbela
