// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into one copy of the program by the two-copies settings test:
// the first time the copy is about to put a new file in place under the
// name in ORBELA_STOP_AT_RENAME, it stops itself (SIGSTOP), as a copy the
// system holds up in the middle of a write, until the test continues it.
// The other copy's write falls inside that moment every time.
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

extern "C" {

int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static Rename real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    static bool stopped = false;
    const char* name = getenv("ORBELA_STOP_AT_RENAME");
    if (!stopped && name != nullptr && to != nullptr) {
        const char* slash = strrchr(to, '/');
        if (strcmp(slash != nullptr ? slash + 1 : to, name) == 0) {
            stopped = true;
            raise(SIGSTOP);
        }
    }
    return real(from, to);
}

} // extern "C"
