// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/termination_notice.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace orbela {
namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t arrivedSignal = 0;
volatile std::sig_atomic_t noticeWriteEnd = -1;
struct sigaction previous[std::size(Signals)];

// Async-signal-safe only: remember the signal and write the notice byte.
void LeaveNotice(int signalNumber)
{
    const int savedErrno = errno;
    if (arrivedSignal == 0)
        arrivedSignal = signalNumber;
    const char byte = 1;
    const int fd = noticeWriteEnd;
    // A full pipe already holds a notice: a failed write loses nothing.
    if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
    }
    errno = savedErrno;
}

} // namespace

TerminationNotice::TerminationNotice()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the termination pipe");
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    arrivedSignal = 0;
    noticeWriteEnd = writeEnd_;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = LeaveNotice;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls restart: the loops wait on the pipe instead.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &action, &previous[i]);
}

TerminationNotice::~TerminationNotice()
{
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &previous[i], nullptr);
    noticeWriteEnd = -1;
    ::close(writeEnd_);
    ::close(readEnd_);
}

int TerminationNotice::Signal() const
{
    return arrivedSignal;
}

} // namespace orbela
