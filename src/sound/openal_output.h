// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One open OpenAL Soft output per process and name, shared by everything
// that sounds: the sound player and the embedded voice play their sources
// in its one context, and OpenAL mixes them together. One output costs one
// mixing thread and one connection to the sound server (with its timer)
// instead of one each, and one context's voices (several MiB that OpenAL
// allocates and clears whatever few sources are used) instead of two.
//
// The output rests (is paused, so that it stops mixing silence) once every
// context on it has been silent for the rest delay; the next sound on any
// of them resumes it.
//
// Where OpenAL would play through a PulseAudio server, the program talks
// to the server itself and OpenAL renders into it on request (a loopback
// device): no mixing thread of OpenAL's, no timing updates at rest, and a
// server that restarts is joined again at the next sound.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct ALCdevice_struct ALCdevice;
typedef struct ALCcontext_struct ALCcontext;

namespace orbela {

class DeviceRest;
class PulseOutput;

class OpenAlOutput {
public:
    // The open output of that name (empty: the default one), opened by the
    // first caller and closed once the last holder lets go; nullptr when
    // it cannot be opened. The first opener's rest delay applies.
    static std::shared_ptr<OpenAlOutput> Share(const std::string& deviceName, std::chrono::milliseconds restDelay);
    ~OpenAlOutput();
    OpenAlOutput(const OpenAlOutput&) = delete;
    OpenAlOutput& operator=(const OpenAlOutput&) = delete;

    ALCdevice* Device() const { return device_; }
    // The one context on Device() that every user plays in, made at the
    // first call; null when OpenAL cannot make it. It lives as long as the
    // output: users delete their own sources and buffers and only unbind it.
    // Nothing in it is set context-wide (listener, distance model), so that
    // users cannot change each other's sound.
    ALCcontext* Context();

    // A context's answer to "is anything of yours playing or queued?",
    // asked on the rest thread; false keeps the output awake. Withdraw it
    // before the context goes.
    using SilenceCheck = std::function<bool()>;
    int AddSilenceCheck(SilenceCheck check);
    void RemoveSilenceCheck(int id);

    // Call once a sound is set playing: resumes a resting output and starts
    // its silence clock again.
    void Wake();
    bool Resting() const;
    // Call after stopping a sound: drops what the sound server already
    // holds of it, so that it falls silent at once.
    void Cut();

private:
    OpenAlOutput(ALCdevice* device, std::chrono::milliseconds restDelay);
    OpenAlOutput(ALCdevice* loopback, std::unique_ptr<PulseOutput> server, std::chrono::milliseconds restDelay);
    static std::shared_ptr<OpenAlOutput> OpenOnServer(std::chrono::milliseconds restDelay);
    bool Silent();

    ALCdevice* device_;
    std::mutex contextMutex_;
    ALCcontext* context_ = nullptr;
    std::mutex checksMutex_;
    std::vector<std::pair<int, SilenceCheck>> checks_;
    int nextCheck_ = 0;
    // Null unless the program talks to the sound server itself.
    std::unique_ptr<PulseOutput> server_;
    // Null where the library cannot pause an output.
    std::unique_ptr<DeviceRest> rest_;
};

} // namespace orbela
