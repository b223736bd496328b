// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal's two long waits, made to end when a termination signal
// leaves its notice: reading standard input (a line of the data-entry
// dialog) and the program's pauses. Either way the run unwinds as at the
// end of input, and the front-end saves from live objects.

#include <array>
#include <streambuf>

#include "runtime/clock.h"

namespace orbela {

// Bytes of a descriptor; end of file when it ends, fails, or the notice
// descriptor becomes readable.
class InterruptibleInput final : public std::streambuf {
public:
    InterruptibleInput(int input, int notice) : input_(input), notice_(notice) {}

protected:
    int_type underflow() override;

private:
    int input_;
    int notice_;
    std::array<char, 4096> buffer_{};
};

// Sleeps as SystemClock does, but raises EndOfInput as soon as the notice
// descriptor becomes readable.
class InterruptibleClock final : public Clock {
public:
    explicit InterruptibleClock(int notice) : notice_(notice) {}
    void Sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds Now() const override { return system_.Now(); }

private:
    int notice_;
    SystemClock system_;
};

} // namespace orbela
