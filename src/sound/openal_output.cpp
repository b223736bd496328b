// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/openal_output.h"

#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <map>

#include "sound/device_rest.h"

namespace orbela {

namespace {

std::mutex openMutex;

// The outputs open now, by name; weak so that the last holder closes one.
std::map<std::string, std::weak_ptr<OpenAlOutput>>& OpenOutputs()
{
    static auto* outputs = new std::map<std::string, std::weak_ptr<OpenAlOutput>>;
    return *outputs;
}

} // namespace

std::shared_ptr<OpenAlOutput> OpenAlOutput::Share(const std::string& deviceName, std::chrono::milliseconds restDelay)
{
    std::lock_guard lock(openMutex);
    std::weak_ptr<OpenAlOutput>& slot = OpenOutputs()[deviceName];
    if (auto open = slot.lock())
        return open;
    ALCdevice* device = alcOpenDevice(deviceName.empty() ? nullptr : deviceName.c_str());
    if (!device)
        return nullptr;
    std::shared_ptr<OpenAlOutput> output(new OpenAlOutput(device, restDelay));
    slot = output;
    return output;
}

OpenAlOutput::OpenAlOutput(ALCdevice* device, std::chrono::milliseconds restDelay) : device_(device)
{
    // Asking the contexts from the rest thread needs contexts current for
    // one thread only; pausing needs the extension.
    if (!alcIsExtensionPresent(nullptr, "ALC_EXT_thread_local_context") ||
        !alcIsExtensionPresent(device, "ALC_SOFT_pause_device"))
        return;
    const auto pause = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(device, "alcDevicePauseSOFT"));
    const auto resume = reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(device, "alcDeviceResumeSOFT"));
    if (!pause || !resume)
        return;
    rest_ = std::make_unique<DeviceRest>(restDelay,
                                         DeviceRest::Actions{.silent = [this] { return Silent(); },
                                                             .pause = [this, pause] { pause(device_); },
                                                             .resume = [this, resume] { resume(device_); }});
}

OpenAlOutput::~OpenAlOutput()
{
    rest_.reset();
    {
        // A new holder may already have opened the name again.
        std::lock_guard lock(openMutex);
        std::erase_if(OpenOutputs(), [](const auto& output) { return output.second.expired(); });
    }
    alcCloseDevice(device_);
}

int OpenAlOutput::AddSilenceCheck(SilenceCheck check)
{
    std::lock_guard lock(checksMutex_);
    checks_.emplace_back(nextCheck_, std::move(check));
    return nextCheck_++;
}

void OpenAlOutput::RemoveSilenceCheck(int id)
{
    std::lock_guard lock(checksMutex_);
    checks_.erase(std::remove_if(checks_.begin(), checks_.end(), [id](const auto& check) { return check.first == id; }),
                  checks_.end());
}

bool OpenAlOutput::Silent()
{
    std::lock_guard lock(checksMutex_);
    return std::all_of(checks_.begin(), checks_.end(), [](const auto& check) { return check.second(); });
}

void OpenAlOutput::Wake()
{
    if (rest_)
        rest_->Wake();
}

bool OpenAlOutput::Resting() const
{
    return rest_ && rest_->Resting();
}

} // namespace orbela
