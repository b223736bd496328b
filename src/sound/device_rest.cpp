// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/device_rest.h"

#include <utility>

namespace orbela {

DeviceRest::DeviceRest(std::chrono::milliseconds delay, Actions actions)
    : delay_(delay), actions_(std::move(actions)), lastSound_(std::chrono::steady_clock::now())
{
    thread_ = std::thread([this] { Run(); });
}

DeviceRest::~DeviceRest()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DeviceRest::Wake()
{
    std::lock_guard lock(mutex_);
    lastSound_ = std::chrono::steady_clock::now();
    if (resting_) {
        actions_.resume();
        resting_ = false;
        changed_.notify_all();
    }
}

bool DeviceRest::Resting() const
{
    std::lock_guard lock(mutex_);
    return resting_;
}

void DeviceRest::Run()
{
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (resting_) {
            changed_.wait(lock, [this] { return quit_ || !resting_; });
            continue;
        }
        const auto due = lastSound_ + delay_;
        if (changed_.wait_until(lock, due, [this] { return quit_; }))
            break;
        if (std::chrono::steady_clock::now() < lastSound_ + delay_)
            continue;  // a sound came meanwhile: wait for its silence
        // Under the lock, so that a Wake() cannot slip between the check
        // and the pause.
        if (actions_.silent()) {
            actions_.pause();
            resting_ = true;
        } else {
            lastSound_ = std::chrono::steady_clock::now();  // still sounding: look again later
        }
    }
}

} // namespace orbela
