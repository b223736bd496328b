// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the program by the signal tests: every sleep and every
// timed wait returns at once, so a run's pauses take no time and a signal
// can land anywhere in many short runs. Waits without a time limit (the
// terminal reading its input) are left as they are.
#include <dlfcn.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

extern "C" {

int poll(struct pollfd* fds, nfds_t count, int timeout)
{
    using Poll = int (*)(struct pollfd*, nfds_t, int);
    static Poll real = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "poll"));
    return real(fds, count, timeout > 0 ? 0 : timeout);
}

int nanosleep(const struct timespec* duration, struct timespec* left)
{
    (void)duration;
    if (left)
        *left = timespec{};
    return 0;
}

int clock_nanosleep(clockid_t clock, int flags, const struct timespec* duration, struct timespec* left)
{
    (void)clock;
    (void)flags;
    return nanosleep(duration, left);
}

unsigned int sleep(unsigned int seconds)
{
    (void)seconds;
    return 0;
}

int usleep(useconds_t microseconds)
{
    (void)microseconds;
    return 0;
}

} // extern "C"
