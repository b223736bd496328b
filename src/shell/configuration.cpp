// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/configuration.h"

#include <algorithm>

#include "i18n/resource_localizer.h"

namespace orbela {
namespace {

// The notetaker sounds' volume is an attenuation in hundredths of a
// decibel; a value outside it could not be applied to a sound.
constexpr int SilentVolume = -10000;
constexpr int FullVolume = 0;

} // namespace

void LoadConfiguration(IniFile& file, RuntimeState& state, bool enumeratorExists, MenuMarks& marks)
{
    if (!file.Exists()) {
        // First start: only the voice switch is written, which creates the
        // file; the other keys appear when their writers first run.
        state.voiceallowed = enumeratorExists;
        file.WriteBool("voice", "voiceallowed", state.voiceallowed);
        return;
    }
    state.voiceallowed = file.ReadBool("voice", "voiceallowed", true);
    state.orbelasounds = file.ReadBool("sounds", "orbelasounds", true);
    state.sndvolume = std::clamp(file.ReadInteger("sounds", "sndvolume", 0), SilentVolume, FullVolume);
    state.braillekeys = file.ReadBool("keyboard", "braillekeys", false);
    marks.usesapi5 = file.ReadBool("Voice", "sapi5", false);
    marks.braillekeyboard = state.braillekeys;
}

void SaveConfiguration(IniFile& file, const RuntimeState& state)
{
    file.WriteBool("voice", "voiceallowed", state.voiceallowed);
    file.WriteBool("sounds", "orbelasounds", state.orbelasounds);
    file.WriteInteger("sounds", "sndvolume", state.sndvolume);
    file.WriteBool("keyboard", "braillekeys", state.braillekeys);
}

int ReadLanguage(const IniFile& file)
{
    return file.ReadInteger("environment", "language", LanguageCzech);
}

void WriteLanguage(IniFile& file, int language)
{
    file.WriteInteger("environment", "language", language);
}

} // namespace orbela
