// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_list_tone_sounds.h"

#include "sound/sound_list.h"

namespace orbela {

class SoundListToneSounds::SoundHandle final : public ToneSound {
public:
    explicit SoundHandle(Sound& sound) : sound_(sound) {}
    void SetLooped(bool looped) override { sound_.SetLooped(looped); }
    void SetFrequency(std::int32_t hz) override { sound_.SetFrequency(hz); }
    void SetVolume(std::int32_t volume) override { sound_.SetVolume(volume); }
    void Play() override { sound_.Play(PlayWait::NoWait); }
    void Stop() override { sound_.Stop(); }

private:
    Sound& sound_;
};

class SoundListToneSounds::SilentHandle final : public ToneSound {
public:
    void SetLooped(bool) override {}
    void SetFrequency(std::int32_t) override {}
    void SetVolume(std::int32_t) override {}
    void Play() override {}
    void Stop() override {}
};

SoundListToneSounds::SoundListToneSounds(SoundList& list) : list_(list), silent_(std::make_unique<SilentHandle>()) {}

SoundListToneSounds::~SoundListToneSounds() = default;

ToneSound& SoundListToneSounds::FindSound(std::string_view name)
{
    Sound* sound = list_.FindReported(name);
    if (!sound)
        return *silent_;
    auto& handle = handles_[sound];
    if (!handle)
        handle = std::make_unique<SoundHandle>(*sound);
    return *handle;
}

void SoundListToneSounds::PlaySoundEffect(std::string_view name, std::int32_t sndvolume)
{
    list_.PlaySoundEffect(name, true, sndvolume);
}

} // namespace orbela
