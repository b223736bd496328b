// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/termination_watch.h"

#include <QApplication>
#include <QSocketNotifier>

#include <poll.h>
#include <unistd.h>

#include "text/error.h"
#include "runtime/error_report.h"
#include "shell/qt/process_end.h"
#include "shell/qt/tform1.h"

namespace orbela {
namespace {

// Reads only what is there, so the pipe's own blocking mode does not matter.
void DrainNotice(int descriptor)
{
    pollfd waiting{descriptor, POLLIN, 0};
    char bytes[64];
    while (::poll(&waiting, 1, 0) > 0 && (waiting.revents & POLLIN) != 0 &&
           ::read(descriptor, bytes, sizeof bytes) > 0) {
    }
}

} // namespace

TerminationWatch::TerminationWatch(int descriptor, ErrorReport& report, ProcessEnd& processEnd, QObject* parent)
    : QObject(parent),
      report_(report),
      processEnd_(processEnd),
      notifier_(new QSocketNotifier(descriptor, QSocketNotifier::Read, this))
{
    connect(notifier_, &QSocketNotifier::activated, this, [this] { End(); });
}

void TerminationWatch::End()
{
    // Emptied rather than left readable: the way out may wait for the
    // answer to a refused save's message, and a second signal there must
    // end the program too.
    DrainNotice(static_cast<int>(notifier_->socket()));
    try {
        if (!window_) {
            // A message of the main window's creation waits: nothing of the
            // run has changed yet, and ram.dat stays as it was read.
            processEnd_.EndAtOnce();
        } else if (QApplication::activeModalWidget()) {
            // Closing the main window would not end the box's own loop,
            // which waits for an answer nobody gives.
            window_->EndProgramAtOnce();
        } else {
            window_->exitsubmenuClick();
        }
    } catch (const Error& error) {
        report_.Report(error.what());
    }
}

} // namespace orbela
