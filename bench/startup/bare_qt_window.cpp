// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: a bare Qt window with one text
// field, built with the same toolkit and flags as the program. It writes the
// same time stamp as the program's start-up probe once it is shown and its
// message loop has gone idle.

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

void Stamp(const char* label)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "%s %lld.%09ld\n", label, static_cast<long long>(now.tv_sec), now.tv_nsec);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char** argv)
{
    Stamp("orbela-startup-step main");
    QApplication application(argc, argv);
    Stamp("orbela-startup-step application");
    QMainWindow window;
    window.setWindowTitle("bare - window");
    window.setCentralWidget(new QLineEdit(&window));
    window.resize(500, 350);
    Stamp("orbela-startup-step main-window");
    window.show();
    QTimer::singleShot(0, &window, [] { Stamp("orbela-startup-idle"); });
    return application.exec();
}
