// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ending the process "at once" from inside nested message loops (a run of
// the hosted program pumps them): the loops below must not be unwound, so
// nothing is destroyed; what must be kept has been written before.

#include <functional>

namespace orbela {

class ProcessEnd {
public:
    virtual ~ProcessEnd() = default;
    // Does not return in the program; a test's implementation records.
    virtual void EndAtOnce() = 0;
};

// Runs `beforeExit` (last writes that need no running loop), flushes the
// standard streams and leaves with exit code 0 without running destructors.
class QuickExit final : public ProcessEnd {
public:
    explicit QuickExit(std::function<void()> beforeExit) : beforeExit_(std::move(beforeExit)) {}
    [[noreturn]] void EndAtOnce() override;

private:
    std::function<void()> beforeExit_;
};

} // namespace orbela
