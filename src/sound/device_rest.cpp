// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/device_rest.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace orbela {

// The one rest thread and the outputs it watches. It runs while at least
// one output exists; each thread has a stop flag of its own, so that one
// ending as the last output goes never meets the next output's thread.
struct DeviceRest::Keeper {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<DeviceRest*> outputs;
    std::thread thread;
    std::shared_ptr<bool> stop;

    // Never destroyed: outputs may go at any time, even during exit.
    static Keeper& Instance()
    {
        static Keeper* keeper = new Keeper;
        return *keeper;
    }

    void Add(DeviceRest* output)
    {
        std::lock_guard lock(mutex);
        outputs.push_back(output);
        if (!thread.joinable()) {
            stop = std::make_shared<bool>(false);
            thread = std::thread([this, flag = stop] { Run(*flag); });
        }
        changed.notify_all();
    }

    void Remove(DeviceRest* output)
    {
        std::thread ending;
        {
            std::lock_guard lock(mutex);
            outputs.erase(std::remove(outputs.begin(), outputs.end(), output), outputs.end());
            if (outputs.empty() && thread.joinable()) {
                *stop = true;
                ending = std::move(thread);
            }
        }
        changed.notify_all();
        if (ending.joinable())
            ending.join();
    }

    void Run(const bool& stopped)
    {
        std::unique_lock lock(mutex);
        while (!stopped) {
            const auto now = std::chrono::steady_clock::now();
            std::optional<std::chrono::steady_clock::time_point> next;
            for (DeviceRest* output : outputs) {
                if (output->resting_)
                    continue;
                const auto due = output->lastSound_ + output->delay_;
                if (due > now) {
                    next = next ? std::min(*next, due) : due;
                    continue;
                }
                // Under the lock, so that a Wake() cannot slip between the
                // check and the pause.
                if (output->actions_.silent()) {
                    output->actions_.pause();
                    output->resting_ = true;
                } else {
                    output->lastSound_ = now;  // still sounding: look again later
                    next = next ? std::min(*next, now + output->delay_) : now + output->delay_;
                }
            }
            if (next)
                changed.wait_until(lock, *next);
            else
                changed.wait(lock);
        }
    }
};

DeviceRest::DeviceRest(std::chrono::milliseconds delay, Actions actions, bool resting)
    : delay_(delay), actions_(std::move(actions)), lastSound_(std::chrono::steady_clock::now()), resting_(resting)
{
    Keeper::Instance().Add(this);
}

DeviceRest::~DeviceRest()
{
    Keeper::Instance().Remove(this);
}

void DeviceRest::Wake()
{
    Keeper& keeper = Keeper::Instance();
    std::lock_guard lock(keeper.mutex);
    lastSound_ = std::chrono::steady_clock::now();
    if (resting_) {
        actions_.resume();
        resting_ = false;
        keeper.changed.notify_all();
    }
}

bool DeviceRest::Resting() const
{
    std::lock_guard lock(Keeper::Instance().mutex);
    return resting_;
}

} // namespace orbela
