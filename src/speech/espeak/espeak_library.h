// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// espeak-ng's functions, from the library loaded when the embedded engine
// is first made. Linked into the program, espeak-ng would bring its own
// audio libraries (the sound server's among them) into every start, though
// the engine hands its samples to OpenAL itself.

#include <espeak-ng/speak_lib.h>

namespace orbela {

struct EspeakLibrary {
    decltype(&espeak_Initialize) Initialize = nullptr;
    decltype(&espeak_SetSynthCallback) SetSynthCallback = nullptr;
    decltype(&espeak_ListVoices) ListVoices = nullptr;
    decltype(&espeak_SetVoiceByName) SetVoiceByName = nullptr;
    decltype(&espeak_GetParameter) GetParameter = nullptr;
    decltype(&espeak_SetParameter) SetParameter = nullptr;
    decltype(&espeak_Synth) Synth = nullptr;
};

// Loads the library at the first call; raises Error when it, or one of the
// functions above, is missing.
const EspeakLibrary& Espeak();

} // namespace orbela
