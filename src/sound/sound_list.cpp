// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_list.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>

#include "runtime/clock.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "runtime/runtime_state.h"
#include "sound/sound_mapping.h"

namespace orbela {
namespace {

constexpr std::chrono::milliseconds PollInterval{10};
// A device that never reports the end of a wave must not hang the program:
// the wait gives up well after the wave should have ended.
constexpr std::chrono::milliseconds WaitMargin{1000};

bool SameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

} // namespace

Sound::Sound(SoundRecord record, AudioDevice* device, Clock& clock)
    : name_(std::move(record.name)),
      looped_(record.looped),
      maxPlayingCount_(std::max(0, record.maxPlayingCount)),
      wave_(std::move(record.wave)),
      device_(device),
      clock_(clock)
{
}

void Sound::SetLooped(bool looped)
{
    if (looped == looped_)
        return;
    Stop();
    looped_ = looped;
}

void Sound::SetMaxPlayingCount(std::int32_t count)
{
    count = std::max(0, count);
    if (count == maxPlayingCount_)
        return;
    maxPlayingCount_ = count;
    copies_.clear();
}

void Sound::SetFrequency(std::int32_t hz)
{
    frequency_ = hz;
    if (main_)
        main_->SetPitch(PitchForFrequency(frequency_, wave_.Format()->samplesPerSec));
}

void Sound::SetPan(std::int32_t pan)
{
    pan_ = pan;
    if (main_) {
        SourcePosition position = PositionForPan(pan_);
        main_->SetPosition(position.x, position.y, position.z);
    }
}

void Sound::SetVolume(std::int32_t hundredthsOfDecibel)
{
    volume_ = hundredthsOfDecibel;
    if (main_)
        main_->SetGain(GainForVolume(volume_));
}

void Sound::Apply(AudioSource& source) const
{
    source.SetPitch(PitchForFrequency(frequency_, wave_.Format()->samplesPerSec));
    SourcePosition position = PositionForPan(pan_);
    source.SetPosition(position.x, position.y, position.z);
    source.SetGain(GainForVolume(volume_));
}

void Sound::Prepare()
{
    if (!device_ || main_)
        return;
    auto format = wave_.Format();
    if (!format)
        throw Error("Sound Buffer cannot be made: the wave '" + name_ + "' has no format record");
    if (wave_.FrameCount() == 0)
        throw Error("Sound Buffer cannot be made: the wave '" + name_ + "' holds no samples");
    std::span<const std::uint8_t> samples(wave_.samples.data(), wave_.FrameCount() * format->blockAlign);
    auto buffer = device_->CreateBuffer(*format, samples);
    auto main = buffer->CreateSource();
    Apply(*main);
    buffer_ = std::move(buffer);
    main_ = std::move(main);
}

AudioSource& Sound::ChooseCopy()
{
    for (auto& copy : copies_) {
        if (!copy->IsPlaying())
            return *copy;
    }
    if (maxPlayingCount_ == 0 || copies_.size() < static_cast<std::size_t>(maxPlayingCount_)) {
        copies_.push_back(buffer_->CreateSource());
        return *copies_.back();
    }
    std::rotate(copies_.begin(), copies_.begin() + 1, copies_.end());
    return *copies_.back();
}

void Sound::Play(PlayWait wait)
{
    if (!Prepared())
        return;
    if (looped_) {
        main_->Stop();
        main_->Rewind();
        main_->Play(PlayMode::Looping);
        return;
    }
    AudioSource& source = ChooseCopy();
    source.Stop();
    source.Rewind();
    Apply(source);
    source.Play(PlayMode::Once);
    if (wait == PlayWait::UntilDone)
        WaitUntilStopped(source);
}

std::chrono::milliseconds Sound::LongestWait() const
{
    double rate = wave_.Format()->samplesPerSec * static_cast<double>(PitchForFrequency(frequency_, wave_.Format()->samplesPerSec));
    double seconds = rate > 0 ? static_cast<double>(wave_.FrameCount()) / rate : 0.0;
    // Twice the wave's length, so that a slow start of the device is waited
    // out as well.
    return std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 2000.0)) + WaitMargin;
}

void Sound::WaitUntilStopped(const AudioSource& source) const
{
    std::chrono::milliseconds deadline = clock_.Now() + LongestWait();
    while (source.IsPlaying() && clock_.Now() < deadline)
        clock_.Sleep(PollInterval);
}

void Sound::Stop()
{
    if (main_)
        main_->Stop();
    for (auto& copy : copies_)
        copy->Stop();
}

void SoundList::Load(std::span<const std::uint8_t> stream)
{
    sounds_.clear();
    reported_.clear();
    std::vector<SoundRecord> records = ReadSoundStream(stream);
    std::optional<Error> firstFailure;
    for (auto& record : records) {
        if (!record.damage.empty()) {
            // Its uses stay quiet: this report already names it.
            reported_.insert(LowerCase(record.name));
            if (!firstFailure)
                firstFailure = Error(record.damage + " (wave '" + record.name + "')");
            continue;
        }
        sounds_.push_back(std::make_unique<Sound>(std::move(record), device_, clock_));
    }

    for (auto& sound : sounds_) {
        try {
            sound->Prepare();
        } catch (const Error& error) {
            if (!firstFailure)
                firstFailure = error;
        }
    }
    if (firstFailure)
        throw *firstFailure;
}

bool SoundList::LoadFile(const std::filesystem::path& path)
{
    std::error_code status;
    if (!std::filesystem::exists(path, status))
        return false;
    const std::string shown = Utf8ToCp1250Lossy(path.string());
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Error("Cannot open file \"" + shown + "\"");
    // Checked before reading: the real file is a few KiB, and a huge one
    // would be read whole into memory.
    const auto size = std::filesystem::file_size(path, status);
    if (!status && size > MaxFileBytes)
        throw Error("\"" + shown + "\" is larger than " + std::to_string(MaxFileBytes) + " bytes and is not read");
    std::vector<std::uint8_t> bytes;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + file.gcount());
        if (bytes.size() > MaxFileBytes)
            throw Error("\"" + shown + "\" is larger than " + std::to_string(MaxFileBytes) + " bytes and is not read");
    }
    if (file.bad())
        throw Error("Cannot read file \"" + shown + "\"");
    try {
        Load(bytes);
    } catch (const Error& error) {
        // The user learns which file to mend.
        throw Error("\"" + shown + "\": " + error.what());
    }
    return true;
}

Sound& SoundList::FindSound(std::string_view name)
{
    for (auto& sound : sounds_) {
        if (SameText(sound->Name(), name))
            return *sound;
    }
    throw Error("Wave '" + std::string(name) + "' not found");
}

Sound* SoundList::FindReported(std::string_view name)
{
    for (auto& sound : sounds_) {
        if (SameText(sound->Name(), name))
            return sound.get();
    }
    if (reported_.insert(LowerCase(name)).second)
        throw Error("Wave '" + std::string(name) + "' not found");
    return nullptr;
}

void SoundList::PlaySoundEffect(std::string_view name, bool orbelasounds, std::int32_t sndvolume)
{
    if (!orbelasounds)
        return;
    Sound* sound = FindReported(name);
    if (!sound)
        return;
    sound->SetVolume(sndvolume);
    sound->Play(PlayWait::UntilDone);
}

void SoundList::PlaySoundEffect(std::string_view name, const RuntimeState& state)
{
    PlaySoundEffect(name, state.orbelasounds, state.sndvolume);
}

} // namespace orbela
