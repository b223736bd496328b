// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/termination_signals.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orbela {
namespace {

const RamImage* imageToSave = nullptr;

// Only async-signal-safe calls: write the image beside "ram.dat" and rename
// it over, as the ordinary save does, then leave.
void WriteImageAndExit(int signalNumber)
{
    static const char temporary[] = "ram.dat.signal";
    int fd = ::open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool written = false;
    if (fd >= 0) {
        const auto* data = reinterpret_cast<const char*>(imageToSave->data());
        std::size_t left = imageToSave->size();
        written = true;
        while (left > 0) {
            ssize_t n = ::write(fd, data, left);
            if (n <= 0) {
                written = false;
                break;
            }
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        written = written && ::fsync(fd) == 0;
        written = (::close(fd) == 0) && written;
    }
    if (written && ::rename(temporary, "ram.dat") == 0) {
        _exit(128 + signalNumber);
    }
    ::unlink(temporary);
    static const char message[] = "orbela: Unable to write to ram.dat\n";
    ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(128 + signalNumber);
}

} // namespace

void InstallTerminationSignals(const RamImage& image)
{
    imageToSave = &image;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = WriteImageAndExit;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}

} // namespace orbela
