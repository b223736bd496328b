// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings kept in the configuration file, read at start and written
// when a setting changes.

#include "runtime/runtime_state.h"
#include "settings/ini_file.h"

namespace orbela {

// The two check marks of the main menu that the configuration sets.
struct MenuMarks {
    bool usesapi5 = false;
    bool braillekeyboard = false;
};

// With a file: reads voice allowed, orbelasounds, sndvolume and braillekeys
// into the state and the two check marks into `marks`. Without one (first
// start): voice allowed := enumeratorExists, written as voice/voiceallowed,
// which creates the file; the rest keeps its start values. Raises Error when
// that first write fails, after setting the state.
void LoadConfiguration(IniFile& file, RuntimeState& state, bool enumeratorExists, MenuMarks& marks);

// Writes voiceallowed, orbelasounds, sndvolume and braillekeys, in this order.
void SaveConfiguration(IniFile& file, const RuntimeState& state);

// environment/language, default 1000.
int ReadLanguage(const IniFile& file);
void WriteLanguage(IniFile& file, int language);

} // namespace orbela
