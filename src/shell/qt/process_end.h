// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ending the process "at once" from inside nested message loops (a run of
// the hosted program pumps them): the loops below must not be unwound, so
// nothing is destroyed; what must be kept has been written before.

#include <functional>
#include <vector>

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
    // Also run before leaving, after `beforeExit`, in the order added: a
    // connection to close so that its server knows at once. `step` must
    // stay valid while the program can end this way.
    void AddLastStep(std::function<void()> step) { lastSteps_.push_back(std::move(step)); }

private:
    std::function<void()> beforeExit_;
    std::vector<std::function<void()>> lastSteps_;
};

} // namespace orbela
