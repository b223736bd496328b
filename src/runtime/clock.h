// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain blocking waits. The real clock sleeps; tests use VirtualClock, which
// only counts, so a whole game runs in milliseconds.

#include <chrono>

namespace orbela {

class Clock {
public:
    virtual ~Clock() = default;
    // Blocks the calling thread for the given time without pumping messages.
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::milliseconds Now() const = 0;
};

class SystemClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds Now() const override;
};

class VirtualClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override { now_ += duration; }
    std::chrono::milliseconds Now() const override { return now_; }

private:
    std::chrono::milliseconds now_{0};
};

} // namespace orbela
