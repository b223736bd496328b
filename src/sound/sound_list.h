// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound list: the named waves of "sounds.dat", each prepared on the
// audio device, played by name by the sound statements. All on the GUI
// thread.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sound/audio_device.h"
#include "sound/sound_stream.h"
#include "sound/wave.h"

namespace orbela {

class Clock;
struct RuntimeState;

enum class PlayWait { NoWait, UntilDone };

class Sound {
public:
    Sound(SoundRecord record, AudioDevice* device, Clock& clock);
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    const std::string& Name() const { return name_; }
    bool Looped() const { return looped_; }
    std::int32_t MaxPlayingCount() const { return maxPlayingCount_; }
    const Wave& GetWave() const { return wave_; }
    std::int32_t Frequency() const { return frequency_; }
    std::int32_t Pan() const { return pan_; }
    std::int32_t Volume() const { return volume_; }
    bool Prepared() const { return main_ != nullptr; }
    std::size_t CopyCount() const { return copies_.size(); }

    // A change stops the sound first.
    void SetLooped(bool looped);
    // Negative counts are stored as 0 (no limit); a change frees the copies.
    void SetMaxPlayingCount(std::int32_t count);
    // These are applied to the main buffer at once when it exists.
    void SetFrequency(std::int32_t hz);
    void SetPan(std::int32_t pan);
    void SetVolume(std::int32_t hundredthsOfDecibel);

    // A looped sound restarts its main buffer from the beginning, looping,
    // and never waits. Any other sound plays once on a copy that is free,
    // a new copy while MaxPlayingCount allows one, or else the oldest copy,
    // restarted and moved to the end. UntilDone blocks, polling every 10 ms
    // without pumping messages, until that copy has stopped. Silent when the
    // sound is not prepared.
    void Play(PlayWait wait);
    // Stops the main buffer and every copy.
    void Stop();

    // Makes the main buffer on the device; nothing without a device.
    void Prepare();

private:
    void Apply(AudioSource& source) const;
    AudioSource& ChooseCopy();
    void WaitUntilStopped(const AudioSource& source) const;
    std::chrono::milliseconds LongestWait() const;

    std::string name_;
    bool looped_;
    std::int32_t maxPlayingCount_;
    Wave wave_;
    std::int32_t frequency_ = 0;
    std::int32_t pan_ = 0;
    std::int32_t volume_ = 0;
    AudioDevice* device_;
    Clock& clock_;
    // Sources may refer to the buffer, so the buffer is declared first and
    // goes last.
    std::unique_ptr<AudioBuffer> buffer_;
    std::unique_ptr<AudioSource> main_;
    std::vector<std::unique_ptr<AudioSource>> copies_;
};

class SoundList {
public:
    // Without a device (null) nothing is prepared and every play is silent,
    // which is how the program runs when no audio output can be opened. The
    // device and the clock must outlive the list.
    SoundList(AudioDevice* device, Clock& clock) : device_(device), clock_(clock) {}

    // Replaces the list with the stream's sounds and prepares each one.
    // A malformed stream leaves the list empty. A damaged wave is left out
    // and a sound that cannot be prepared stays silent; the others are
    // loaded and prepared, and the first such error (naming the wave when
    // it is damaged) is raised at the end. A damaged wave counts as
    // reported for FindReported.
    void Load(std::span<const std::uint8_t> stream);
    // A sounds file larger than this is refused with an error.
    static constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;

    // Reads the whole file first. False when it does not exist; Error
    // naming the file when it cannot be read, is larger than MaxFileBytes
    // or is malformed.
    [[nodiscard]] bool LoadFile(const std::filesystem::path& path);

    std::size_t Count() const { return sounds_.size(); }
    Sound& At(std::size_t index) { return *sounds_.at(index); }

    // The sound of that name in any letter case; raises "Wave '%s' not found".
    Sound& FindSound(std::string_view name);
    // As FindSound, but a name is reported missing only the first time:
    // after that it is null, so a key that plays it does not raise the
    // same error at every press.
    Sound* FindReported(std::string_view name);

    // The body of Beep and Click: with the Orbela sounds on, the sound gets
    // the sound volume and plays to its end; with them off nothing happens
    // and the name is not even looked up.
    void PlaySoundEffect(std::string_view name, bool orbelasounds, std::int32_t sndvolume);
    void PlaySoundEffect(std::string_view name, const RuntimeState& state);

private:
    AudioDevice* device_;
    Clock& clock_;
    std::vector<std::unique_ptr<Sound>> sounds_;
    // Missing names already reported, in lower case.
    std::set<std::string> reported_;
};

} // namespace orbela
