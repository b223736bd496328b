// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the module that speaks to the sound server. libpulse brings some
// twenty libraries (sound file codecs among them); linked into the program
// they would be loaded, and every symbol lookup of the start would pass
// them, before the window is built. Loaded here, they come on the thread
// that first opens the output.
#include "sound/pulse_output.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace orbela {

namespace {

using ConnectFunction = PulseOutput* (*)(PulseOutput::Render*);

constexpr const char* ModuleName = "orbela-pulse.so";

// Beside the program in a build; in the program's library folder once
// installed.
std::vector<std::filesystem::path> ModuleCandidates()
{
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        candidates.push_back(program.parent_path() / ModuleName);
    candidates.push_back(std::filesystem::path(ORBELA_MODULE_DIR) / ModuleName);
    return candidates;
}

ConnectFunction LoadModule()
{
    for (const auto& path : ModuleCandidates()) {
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<ConnectFunction>(dlsym(module, "orbela_connect_pulse_output"));
    }
    return nullptr;
}

} // namespace

std::unique_ptr<PulseOutput> PulseOutput::Connect(Render render)
{
    // Without the module the caller plays through OpenAL's own output, as
    // without a server.
    static const ConnectFunction connect = LoadModule();
    if (!connect)
        return nullptr;
    return std::unique_ptr<PulseOutput>(connect(&render));
}

} // namespace orbela
