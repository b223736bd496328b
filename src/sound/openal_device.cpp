// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/openal_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <climits>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "sound/openal_output.h"

#include "text/error.h"

namespace orbela {

// Speech plays on the same output and in the same context, from threads of
// its own. The context is made current for the calling thread only where
// the library allows it, and made current again before every operation.
struct OpenAlDevice::Context {
    using SetThreadContext = ALCboolean (*)(ALCcontext*);

    std::shared_ptr<OpenAlOutput> output;
    ALCcontext* context = nullptr;
    SetThreadContext setThreadContext = nullptr;
    // Every source alive, for the rest thread to see whether one plays.
    std::mutex sourcesMutex;
    std::set<ALuint> sources;
    std::optional<int> silenceCheck;

    Context()
    {
        if (alcIsExtensionPresent(nullptr, "ALC_EXT_thread_local_context"))
            setThreadContext = reinterpret_cast<SetThreadContext>(alcGetProcAddress(nullptr, "alcSetThreadContext"));
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    ~Context()
    {
        if (silenceCheck)
            output->RemoveSilenceCheck(*silenceCheck);
        // The context is the output's; only let go of it here.
        if (context) {
            if (setThreadContext)
                setThreadContext(nullptr);
            if (alcGetCurrentContext() == context)
                alcMakeContextCurrent(nullptr);
        }
    }

    bool Bind() const
    {
        if (setThreadContext)
            return setThreadContext(context) == ALC_TRUE;
        return alcGetCurrentContext() == context || alcMakeContextCurrent(context) == ALC_TRUE;
    }

    // Asking the sources from the rest thread needs a context current for
    // that thread only.
    void JoinRest()
    {
        if (setThreadContext)
            silenceCheck = output->AddSilenceCheck([this] { return NothingPlays(); });
    }

    void Wake() const { output->Wake(); }

private:
    bool NothingPlays()
    {
        std::lock_guard lock(sourcesMutex);
        if (setThreadContext(context) != ALC_TRUE)
            return false;
        bool silent = true;
        for (ALuint source : sources) {
            ALint state = AL_STOPPED;
            alGetSourcei(source, AL_SOURCE_STATE, &state);
            if (state == AL_PLAYING)
                silent = false;
        }
        setThreadContext(nullptr);
        return silent;
    }
};

namespace {

std::string AlcReason(ALCdevice* device)
{
    ALCenum code = alcGetError(device);
    const ALCchar* text = alcGetString(device, code);
    return text ? text : "error " + std::to_string(code);
}

// ALSA lists its default output whether or not a card is there; the
// kernel's list of cards tells (absent where the kernel has no sound).
bool AnySoundCard()
{
    std::ifstream cards("/proc/asound/cards");
    std::string first;
    if (!cards || !std::getline(cards, first))
        return false;
    return first.find("no soundcards") == std::string::npos;
}

// Why no output opened, in a player's words. The library's own error code
// names no cause (it says "Out of Memory" when no backend could open), so
// the reason is told from the outputs the library can list.
std::string NoOutputReason(const std::string& deviceName)
{
    if (!deviceName.empty())
        return "the sound output \"" + deviceName + "\" was not found, or another program holds it";
    const ALCchar* outputs = nullptr;
    if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT"))
        outputs = alcGetString(nullptr, ALC_ALL_DEVICES_SPECIFIER);
    else if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT"))
        outputs = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    if (!outputs || !*outputs || !AnySoundCard())
        return "no sound card and no sound server (PulseAudio, PipeWire) were found";
    return std::string("the sound output \"") + outputs +
           "\" did not open; another program may hold it, or the sound server has stopped";
}

// Raises the error of the AL call just made, if it failed.
void CheckAl(const std::string& failure, const char* operation)
{
    ALenum code = alGetError();
    if (code == AL_NO_ERROR)
        return;
    const ALchar* text = alGetString(code);
    throw Error(failure + ": OpenAL could not " + operation + " (" + (text ? text : std::to_string(code)) + ")");
}

std::optional<ALenum> AlFormat(const WaveFormat& format)
{
    if (format.formatTag != WaveFormatPcm)
        return std::nullopt;
    if (format.channels == 1 && format.bitsPerSample == 8)
        return AL_FORMAT_MONO8;
    if (format.channels == 1 && format.bitsPerSample == 16)
        return AL_FORMAT_MONO16;
    if (format.channels == 2 && format.bitsPerSample == 8)
        return AL_FORMAT_STEREO8;
    if (format.channels == 2 && format.bitsPerSample == 16)
        return AL_FORMAT_STEREO16;
    return std::nullopt;
}

struct BufferHandle {
    std::shared_ptr<OpenAlDevice::Context> context;
    ALuint id = 0;

    BufferHandle(const BufferHandle&) = delete;
    BufferHandle& operator=(const BufferHandle&) = delete;
    explicit BufferHandle(std::shared_ptr<OpenAlDevice::Context> owner) : context(std::move(owner)) {}
    ~BufferHandle()
    {
        context->Bind();
        alDeleteBuffers(1, &id);
    }
};

class OpenAlSource final : public AudioSource {
public:
    explicit OpenAlSource(std::shared_ptr<BufferHandle> buffer) : buffer_(std::move(buffer))
    {
        Bind();
        alGetError();
        alGenSources(1, &id_);
        CheckAl("Sound Buffer cannot be made", "make a source");
        {
            std::lock_guard lock(buffer_->context->sourcesMutex);
            buffer_->context->sources.insert(id_);
        }
        try {
            Attach();
        } catch (...) {
            Forget();
            alDeleteSources(1, &id_);
            throw;
        }
    }
    OpenAlSource(const OpenAlSource&) = delete;
    OpenAlSource& operator=(const OpenAlSource&) = delete;
    ~OpenAlSource() override
    {
        Bind();
        alSourceStop(id_);
        alSourcei(id_, AL_BUFFER, 0);
        Forget();
        alDeleteSources(1, &id_);
    }

    void Play(PlayMode mode) override
    {
        Bind();
        alSourcei(id_, AL_LOOPING, mode == PlayMode::Looping ? AL_TRUE : AL_FALSE);
        alSourcePlay(id_);
        // Woken after the play: a resting output's first mixed period
        // then already holds the sound, a period (about 12 ms) sooner.
        buffer_->context->Wake();
    }
    void Stop() override
    {
        Bind();
        alSourceStop(id_);
    }
    void Rewind() override
    {
        Bind();
        alSourceRewind(id_);
    }
    void SetPitch(float pitch) override
    {
        Bind();
        alSourcef(id_, AL_PITCH, pitch);
    }
    void SetGain(float gain) override
    {
        Bind();
        alSourcef(id_, AL_GAIN, gain);
    }
    void SetPosition(float x, float y, float z) override
    {
        Bind();
        alSource3f(id_, AL_POSITION, x, y, z);
    }
    bool IsPlaying() const override
    {
        Bind();
        ALint state = AL_STOPPED;
        alGetSourcei(id_, AL_SOURCE_STATE, &state);
        return state == AL_PLAYING;
    }

private:
    void Bind() const { buffer_->context->Bind(); }
    void Forget()
    {
        std::lock_guard lock(buffer_->context->sourcesMutex);
        buffer_->context->sources.erase(id_);
    }

    void Attach()
    {
        alSourcei(id_, AL_BUFFER, static_cast<ALint>(buffer_->id));
        // Positions are directions only: the listener's distance never
        // changes the loudness.
        alSourcei(id_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(id_, AL_ROLLOFF_FACTOR, 0.0f);
        alSource3f(id_, AL_POSITION, 0.0f, 0.0f, -1.0f);
        CheckAl("Sound Buffer cannot be made", "attach the samples to a source");
    }

    std::shared_ptr<BufferHandle> buffer_;
    ALuint id_ = 0;
};

class OpenAlBuffer final : public AudioBuffer {
public:
    explicit OpenAlBuffer(std::shared_ptr<BufferHandle> handle) : handle_(std::move(handle)) {}
    std::unique_ptr<AudioSource> CreateSource() override { return std::make_unique<OpenAlSource>(handle_); }

private:
    std::shared_ptr<BufferHandle> handle_;
};

} // namespace

std::unique_ptr<OpenAlDevice> OpenAlDevice::Open(const std::string& deviceName, std::chrono::milliseconds restDelay)
{
    auto context = std::make_shared<Context>();
    context->output = OpenAlOutput::Share(deviceName, restDelay);
    if (!context->output)
        throw Error("DirectSound cannot be initialized: " + NoOutputReason(deviceName));
    ALCdevice* device = context->output->Device();
    context->context = context->output->Context();
    if (!context->context)
        throw Error("Primary Buffer cannot be made: OpenAL Soft could not create a context (" + AlcReason(device) +
                    ")");
    if (!context->Bind())
        throw Error("Primary Buffer cannot be made: OpenAL Soft could not make its context current (" +
                    AlcReason(device) + ")");
    context->JoinRest();
    return std::unique_ptr<OpenAlDevice>(new OpenAlDevice(std::move(context)));
}

bool OpenAlDevice::Resting() const
{
    return context_->output->Resting();
}

std::unique_ptr<AudioBuffer> OpenAlDevice::CreateBuffer(const WaveFormat& format,
                                                        std::span<const std::uint8_t> samples)
{
    auto alFormat = AlFormat(format);
    if (!alFormat)
        throw Error("Sound Buffer cannot be made: the wave's format (tag " + std::to_string(format.formatTag) + ", " +
                    std::to_string(format.channels) + " channels, " + std::to_string(format.bitsPerSample) +
                    " bits) cannot be played");
    if (format.samplesPerSec == 0 || format.samplesPerSec > INT_MAX)
        throw Error("Sound Buffer cannot be made: the wave's rate of " + std::to_string(format.samplesPerSec) +
                    " Hz cannot be played");
    if (samples.size() > INT_MAX)
        throw Error("Sound Buffer cannot be made: the wave is too long");

    auto handle = std::make_shared<BufferHandle>(context_);
    context_->Bind();
    alGetError();
    alGenBuffers(1, &handle->id);
    CheckAl("Sound Buffer cannot be made", "make a buffer");
    alBufferData(handle->id, *alFormat, samples.data(), static_cast<ALsizei>(samples.size()),
                 static_cast<ALsizei>(format.samplesPerSec));
    CheckAl("Sound Buffer cannot be locked", "copy the samples into the buffer");
    return std::make_unique<OpenAlBuffer>(std::move(handle));
}

} // namespace orbela
