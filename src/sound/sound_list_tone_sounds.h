// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound list as the runtime's sound statements reach it.

#include <map>
#include <memory>

#include "runtime/tone_sounds.h"

namespace orbela {

class Sound;
class SoundList;

class SoundListToneSounds final : public ToneSounds {
public:
    // The list must outlive the adapter.
    explicit SoundListToneSounds(SoundList& list);
    ~SoundListToneSounds() override;

    ToneSound& FindSound(std::string_view name) override;
    void PlaySoundEffect(std::string_view name, std::int32_t sndvolume) override;

private:
    class SoundHandle;
    class SilentHandle;
    SoundList& list_;
    // Stands for a missing wave once it has been reported.
    std::unique_ptr<SilentHandle> silent_;
    // One handle per sound of the list, made when it is first looked up;
    // a reloaded list makes new sounds and so new handles.
    std::map<const Sound*, std::unique_ptr<SoundHandle>> handles_;
};

} // namespace orbela
