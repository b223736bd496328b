// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/openal_output.h"

#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <map>
#include <string_view>

#include "sound/device_rest.h"
#include "sound/pulse_output.h"

namespace orbela {

namespace {

std::mutex openMutex;

// The outputs open now, by name; weak so that the last holder closes one.
std::map<std::string, std::weak_ptr<OpenAlOutput>>& OpenOutputs()
{
    static auto* outputs = new std::map<std::string, std::weak_ptr<OpenAlOutput>>;
    return *outputs;
}

// What OpenAL is told to render into on the loopback device: what the
// sound server is asked to play.
const ALCint LoopbackAttributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                     ALC_SHORT_SOFT,           ALC_FREQUENCY,   PulseOutput::Rate,
                                     0};

// The "drivers" setting of an OpenAL Soft settings file, if it has one
// (in its [general] section or before any section).
std::optional<std::string> DriversIn(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::optional<std::string> drivers;
    bool general = true;
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (line.starts_with('['))
            general = line.starts_with("[general]");
        else if (general && line.starts_with("drivers")) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            std::string value = line.substr(equals + 1);
            std::erase_if(value, [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
            drivers = value;
        }
    }
    return drivers;
}

// The drivers OpenAL Soft is told to try, as it reads them: its settings
// files in order, later ones overriding, then the environment.
std::string ConfiguredDrivers()
{
    std::vector<std::filesystem::path> files{"/etc/openal/alsoft.conf"};
    const char* home = std::getenv("HOME");
    if (home)
        files.push_back(std::filesystem::path(home) / ".alsoftrc");
    if (const char* config = std::getenv("XDG_CONFIG_HOME"))
        files.push_back(std::filesystem::path(config) / "alsoft.conf");
    else if (home)
        files.push_back(std::filesystem::path(home) / ".config/alsoft.conf");
    if (const char* own = std::getenv("ALSOFT_CONF"))
        files.emplace_back(own);
    std::string drivers;
    for (const auto& file : files)
        if (auto named = DriversIn(file))
            drivers = *named;
    if (const char* named = std::getenv("ALSOFT_DRIVERS"))
        drivers = named;
    return drivers;
}

// Whether OpenAL, left to itself, would play through PulseAudio: no
// drivers named, or PulseAudio the first one allowed.
bool OpenAlWouldUsePulse()
{
    const std::string drivers = ConfiguredDrivers();
    std::string_view list(drivers);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (!name.empty() && name.front() != '-')
            return name == "pulse";
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return true;
}

} // namespace

std::shared_ptr<OpenAlOutput> OpenAlOutput::OpenOnServer(std::chrono::milliseconds restDelay)
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return nullptr;
    const auto openLoopback =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopback || !render)
        return nullptr;
    ALCdevice* loopback = openLoopback(nullptr);
    if (!loopback)
        return nullptr;
    auto server =
        PulseOutput::Connect([loopback, render](void* out, int frames) { render(loopback, out, frames); });
    if (!server) {
        alcCloseDevice(loopback);
        return nullptr;
    }
    return std::shared_ptr<OpenAlOutput>(new OpenAlOutput(loopback, std::move(server), restDelay));
}

std::shared_ptr<OpenAlOutput> OpenAlOutput::Share(const std::string& deviceName, std::chrono::milliseconds restDelay)
{
    std::lock_guard lock(openMutex);
    std::weak_ptr<OpenAlOutput>& slot = OpenOutputs()[deviceName];
    if (auto open = slot.lock())
        return open;
    std::shared_ptr<OpenAlOutput> output;
    if (deviceName.empty() && OpenAlWouldUsePulse())
        output = OpenOnServer(restDelay);
    if (!output) {
        ALCdevice* device = alcOpenDevice(deviceName.empty() ? nullptr : deviceName.c_str());
        if (!device)
            return nullptr;
        output.reset(new OpenAlOutput(device, restDelay));
    }
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

OpenAlOutput::OpenAlOutput(ALCdevice* loopback, std::unique_ptr<PulseOutput> server,
                           std::chrono::milliseconds restDelay)
    : device_(loopback), server_(std::move(server))
{
    PulseOutput* pulse = server_.get();
    rest_ = std::make_unique<DeviceRest>(restDelay,
                                         DeviceRest::Actions{.silent = [this] { return Silent(); },
                                                             .pause = [pulse] { pulse->Rest(); },
                                                             .resume = [pulse] { pulse->Start(); }},
                                         /*resting=*/true);
}

OpenAlOutput::~OpenAlOutput()
{
    rest_.reset();
    // Stops the rendering before the context and the device go.
    server_.reset();
    if (context_)
        alcDestroyContext(context_);
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

ALCcontext* OpenAlOutput::Context()
{
    std::lock_guard lock(contextMutex_);
    if (!context_)
        context_ = alcCreateContext(device_, server_ ? LoopbackAttributes : nullptr);
    return context_;
}

void OpenAlOutput::Wake()
{
    // A server that went away while the output played is tried again now,
    // not only once the output has rested.
    if (server_ && !server_->Connected())
        server_->Start();
    if (rest_)
        rest_->Wake();
    if (server_)
        server_->Prompt();
}

void OpenAlOutput::Cut()
{
    if (server_)
        server_->Cut();
}

bool OpenAlOutput::Resting() const
{
    return rest_ && rest_->Resting();
}

} // namespace orbela
