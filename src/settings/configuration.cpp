// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/configuration.h"

#include <algorithm>

#include "i18n/resource_localizer.h"
#include "text/error.h"
#include "settings/atomic_file.h"
#include "settings/voice_settings.h"

namespace orbela {
namespace {

// The notetaker sounds' volume is an attenuation in hundredths of a
// decibel; a value outside it could not be applied to a sound.
constexpr int SilentVolume = -10000;
constexpr int FullVolume = 0;

} // namespace

void LoadConfiguration(IniFile& file, RuntimeState& state, bool enumeratorExists, MenuMarks& marks)
{
    RemoveStaleTemporaryFiles(file.Path());
    if (!file.Exists()) {
        // First start: only the voice switch is written, which creates the
        // file; the other keys appear when their writers first run.
        state.voiceallowed = enumeratorExists;
        WriteVoiceAllowed(file, state.voiceallowed);
        return;
    }
    const IniValues values = file.Load();
    state.voiceallowed = ReadVoiceAllowed(values);
    state.orbelasounds = values.ReadBool("sounds", "orbelasounds", true);
    state.sndvolume = std::clamp(values.ReadInteger("sounds", "sndvolume", 0), SilentVolume, FullVolume);
    state.braillekeys = values.ReadBool("keyboard", "braillekeys", false);
    marks.usesapi5 = ReadUsesSystemVoice(values);
    marks.braillekeyboard = state.braillekeys;
    // The defaults stand; the user learns why the settings were not taken.
    if (values.Problem())
        throw Error(*values.Problem());
}

void SaveConfiguration(IniFile& file, const RuntimeState& state)
{
    WriteVoiceAllowed(file, state.voiceallowed);
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
