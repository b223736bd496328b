// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak/openal_stream.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <numeric>

#include "text/error.h"
#include "sound/openal_output.h"

namespace orbela {

namespace {

// 16 blocks of the engine's 20 ms: enough to ride over a busy moment of
// the synthesiser, little enough that a reset has little to drop.
constexpr int BufferCount = 16;

using SetThreadContext = ALCboolean (*)(ALCcontext*);

SetThreadContext ThreadContextSetter()
{
    if (!alcIsExtensionPresent(nullptr, "ALC_EXT_thread_local_context"))
        return nullptr;
    return reinterpret_cast<SetThreadContext>(alcGetProcAddress(nullptr, "alcSetThreadContext"));
}

// The sound player plays in the same context from the GUI thread: speech
// makes it current for its own thread only, where the library allows it.
bool MakeCurrentForThisThread(ALCcontext* context)
{
    if (const auto setThreadContext = ThreadContextSetter())
        return setThreadContext(context) == ALC_TRUE;
    return alcMakeContextCurrent(context) == ALC_TRUE;
}

} // namespace

OpenAlStream::OpenAlStream(int sampleRate, std::chrono::milliseconds restDelay) : sampleRate_(sampleRate)
{
    output_ = OpenAlOutput::Share({}, restDelay);
    if (!output_)
        throw Error("No audio device for speech");
    context_ = output_->Context();
    if (!context_ || !MakeCurrentForThisThread(context_))
        throw Error("No audio device for speech");
    // The error state is the context's: clear what the sound player's
    // calls may have left.
    alGetError();
    alGenSources(1, &source_);
    buffers_.resize(BufferCount);
    alGenBuffers(BufferCount, buffers_.data());
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &source_);
        alDeleteBuffers(BufferCount, buffers_.data());
        MakeCurrentForThisThread(nullptr);
        throw Error("No audio device for speech");
    }
    free_ = buffers_;
    JoinRest();
}

// Asking the source's state from the rest thread needs a context current
// for that thread only.
void OpenAlStream::JoinRest()
{
    const auto setThreadContext = ThreadContextSetter();
    if (!setThreadContext)
        return;
    silenceCheck_ = output_->AddSilenceCheck([this, setThreadContext] {
        if (setThreadContext(context_) != ALC_TRUE)
            return false;
        ALint state = AL_STOPPED;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        setThreadContext(nullptr);
        return state != AL_PLAYING;
    });
}

bool OpenAlStream::Resting() const
{
    return output_->Resting();
}

OpenAlStream::~OpenAlStream()
{
    if (silenceCheck_)
        output_->RemoveSilenceCheck(*silenceCheck_);
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
    alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
    MakeCurrentForThisThread(nullptr);
}

void OpenAlStream::Reclaim()
{
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        free_.push_back(buffer);
        if (!queuedSizes_.empty())
            queuedSizes_.erase(queuedSizes_.begin());
    }
}

bool OpenAlStream::HasFreeBuffer()
{
    Reclaim();
    return !free_.empty();
}

void OpenAlStream::Queue(const std::int16_t* samples, std::size_t count)
{
    Reclaim();
    if (free_.empty() || count == 0)
        return;
    const ALuint buffer = free_.back();
    free_.pop_back();
    alBufferData(buffer, AL_FORMAT_MONO16, samples, static_cast<ALsizei>(count * sizeof(std::int16_t)),
                 sampleRate_);
    alSourceQueueBuffers(source_, 1, &buffer);
    queuedSizes_.push_back(count);
    ALint state = 0;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
        alSourcePlay(source_);
    // Woken after the play: a resting output's first mixed period then
    // already holds the samples, a period (about 12 ms) sooner.
    output_->Wake();
}

bool OpenAlStream::Playing()
{
    Reclaim();
    if (queuedSizes_.empty())
        return false;
    ALint state = 0;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

std::size_t OpenAlStream::SamplesPending()
{
    Reclaim();
    const std::size_t queued = std::accumulate(queuedSizes_.begin(), queuedSizes_.end(), std::size_t{0});
    ALint offset = 0;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &offset);
    return queued > static_cast<std::size_t>(offset) ? queued - static_cast<std::size_t>(offset) : 0;
}

void OpenAlStream::Stop()
{
    alSourceStop(source_);
    output_->Cut();
    Reclaim();
    // A stopped source counts everything as processed; unqueue the rest
    // in case the implementation did not.
    alSourcei(source_, AL_BUFFER, 0);
    free_ = buffers_;
    queuedSizes_.clear();
    alGetError();
}

} // namespace orbela
