// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work begun on a thread of its own as the program starts, while the GUI
// thread goes on building the window; the start-up step that needs its
// result takes it, waiting for it when it is not done yet, and gets the
// exception it raised as if the step had done the work itself.

#include <functional>
#include <future>
#include <system_error>
#include <utility>

namespace orbela {

template <typename Result>
class EarlyStart {
public:
    // `work` must be safe to run on another thread than the caller's.
    explicit EarlyStart(std::function<Result()> work) : work_(std::move(work))
    {
        try {
            pending_ = std::async(std::launch::async, work_);
        } catch (const std::system_error&) {
            // No thread to spare: Take does the work.
        }
    }
    // Waits for the work still running, so that what it made is freed here.
    ~EarlyStart() = default;
    EarlyStart(const EarlyStart&) = delete;
    EarlyStart& operator=(const EarlyStart&) = delete;

    // The result of the early work; a later call does the work again, on
    // the caller's thread.
    Result Take()
    {
        if (pending_.valid())
            return pending_.get();
        return work_();
    }

private:
    std::function<Result()> work_;
    std::future<Result> pending_;
};

} // namespace orbela
