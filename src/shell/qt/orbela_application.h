// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object. It is the dispatch boundary of every event: an
// exception that escapes a handler ends that handler, goes to the error
// report, and the program goes on.

#include <QApplication>

namespace orbela {

class ErrorReport;

class OrbelaApplication final : public QApplication {
    Q_OBJECT

public:
    OrbelaApplication(int& argc, char** argv);

    // Not owned; null reports nothing (errors are then dropped).
    void SetErrorReport(ErrorReport* report) { report_ = report; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReport* report_ = nullptr;
};

} // namespace orbela
