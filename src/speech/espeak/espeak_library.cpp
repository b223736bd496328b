// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak/espeak_library.h"

#include <dlfcn.h>

#include <optional>
#include <type_traits>

#include "text/error.h"

namespace orbela {

namespace {

// The library's name as its package installs it.
constexpr const char* LibraryName = "libespeak-ng.so.1";

std::optional<EspeakLibrary> Load()
{
    void* library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    EspeakLibrary functions;
    bool complete = true;
    const auto find = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
        complete = complete && function != nullptr;
    };
    find(functions.Initialize, "espeak_Initialize");
    find(functions.SetSynthCallback, "espeak_SetSynthCallback");
    find(functions.ListVoices, "espeak_ListVoices");
    find(functions.SetVoiceByName, "espeak_SetVoiceByName");
    find(functions.GetParameter, "espeak_GetParameter");
    find(functions.SetParameter, "espeak_SetParameter");
    find(functions.Synth, "espeak_Synth");
    if (!complete)
        return std::nullopt;
    return functions;
}

} // namespace

const EspeakLibrary& Espeak()
{
    static const std::optional<EspeakLibrary> library = Load();
    if (!library)
        throw Error("The embedded speech engine cannot be started");
    return *library;
}

} // namespace orbela
