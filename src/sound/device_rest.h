// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets an audio device rest: after a stretch of silence its output is
// paused, so that it stops mixing silence (and waking the CPU); the next
// sound resumes it first. One thread serves every output of the process:
// it sleeps on a condition variable until the earliest output's silence
// is due, once per delay while sounds come, not at all while all rest.

#include <chrono>
#include <functional>
#include <memory>

namespace orbela {

class DeviceRest {
public:
    struct Actions {
        // On the rest thread: true when nothing plays and nothing is queued.
        std::function<bool()> silent;
        std::function<void()> pause;
        std::function<void()> resume;
    };

    // A device that starts resting (paused already) waits for its first
    // Wake() to be resumed.
    DeviceRest(std::chrono::milliseconds delay, Actions actions, bool resting = false);
    ~DeviceRest();
    DeviceRest(const DeviceRest&) = delete;
    DeviceRest& operator=(const DeviceRest&) = delete;

    // Call once a sound is set playing: resumes the device at once if it
    // rests (its first mixed period then holds the sound) and starts the
    // silence clock again.
    void Wake();
    bool Resting() const;

    struct Keeper;

private:
    friend struct Keeper;

    const std::chrono::milliseconds delay_;
    const Actions actions_;
    // Guarded by the keeper's lock.
    std::chrono::steady_clock::time_point lastSound_;
    bool resting_ = false;
};

} // namespace orbela
