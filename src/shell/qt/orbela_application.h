// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object. It is the dispatch boundary of every event: an
// exception that escapes a handler ends that handler, goes to the error
// report, and the program goes on.

#include <QApplication>

namespace orbela {

class ErrorReport;
class ScreenReaderKeyRelay;

class OrbelaApplication final : public QApplication {
    Q_OBJECT

public:
    OrbelaApplication(int& argc, char** argv);

    // Not owned; null reports nothing (errors are then dropped).
    void SetErrorReport(ErrorReport* report) { report_ = report; }

    // Not owned; keys from the window system go to the screen reader
    // through it before anything else sees them.
    void SetKeyRelay(ScreenReaderKeyRelay* relay) { keyRelay_ = relay; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReport* report_ = nullptr;
    ScreenReaderKeyRelay* keyRelay_ = nullptr;
};

} // namespace orbela
