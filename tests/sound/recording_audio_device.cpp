// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_audio_device.h"

#include "text/error.h"

namespace orbela::testing {
namespace {

class RecordingSource final : public AudioSource {
public:
    RecordingSource(std::shared_ptr<SourceRecord> record, const int& pollsUntilDone)
        : record_(std::move(record)), pollsUntilDone_(pollsUntilDone)
    {
    }
    ~RecordingSource() override { record_->alive = false; }

    void Play(PlayMode mode) override
    {
        record_->calls.push_back("play");
        record_->playing = true;
        record_->mode = mode;
        record_->pollsLeft = mode == PlayMode::Once ? pollsUntilDone_ : -1;
        ++record_->plays;
    }
    void Stop() override
    {
        record_->calls.push_back("stop");
        record_->playing = false;
        ++record_->stops;
    }
    void Rewind() override
    {
        record_->calls.push_back("rewind");
        record_->playing = false;
        ++record_->rewinds;
    }
    void SetPitch(float pitch) override
    {
        record_->calls.push_back("pitch");
        record_->pitch = pitch;
    }
    void SetGain(float gain) override
    {
        record_->calls.push_back("gain");
        record_->gain = gain;
    }
    void SetPosition(float x, float y, float z) override
    {
        record_->calls.push_back("position");
        record_->x = x;
        record_->y = y;
        record_->z = z;
    }
    bool IsPlaying() const override
    {
        if (record_->playing && record_->pollsLeft == 0)
            record_->playing = false;
        else if (record_->playing && record_->pollsLeft > 0)
            --record_->pollsLeft;
        return record_->playing;
    }

private:
    std::shared_ptr<SourceRecord> record_;
    const int& pollsUntilDone_;
};

class RecordingBuffer final : public AudioBuffer {
public:
    RecordingBuffer(RecordingAudioDevice& device, std::size_t index) : device_(device), index_(index) {}

    std::unique_ptr<AudioSource> CreateSource() override
    {
        auto record = std::make_shared<SourceRecord>();
        record->buffer = index_;
        device_.sources.push_back(record);
        return std::make_unique<RecordingSource>(record, device_.pollsUntilDone);
    }

private:
    RecordingAudioDevice& device_;
    std::size_t index_;
};

} // namespace

std::unique_ptr<AudioBuffer> RecordingAudioDevice::CreateBuffer(const WaveFormat& format,
                                                                std::span<const std::uint8_t> samples)
{
    if (!failNextBuffer.empty()) {
        std::string message = std::move(failNextBuffer);
        failNextBuffer.clear();
        throw Error(message);
    }
    buffers.push_back({format, {samples.begin(), samples.end()}});
    return std::make_unique<RecordingBuffer>(*this, buffers.size() - 1);
}

} // namespace orbela::testing
