// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak/espeak_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "text/error.h"
#include "speech/espeak/openal_stream.h"
#include "speech/espeak/voice_order.h"

namespace orbela {

namespace {

// Blocks handed over by the synthesiser, in milliseconds: small, so that
// a key's name reaches the output soon.
constexpr int BlockMilliseconds = 20;
// Once the output holds this much, blocks are gathered into pieces of this
// length before they are handed over, and the synthesiser sleeps until the
// output is down to it again: one hand-over, and one wake-up, per piece
// rather than per block.
constexpr int PieceMilliseconds = 100;
// How long the synthesiser stays idle before the worker tries the voices no
// one waits for: trying one takes up to ten milliseconds, and a key's name
// that comes right after a reset or after another key does not wait behind
// them.
constexpr auto IdleBeforeVoiceChecks = std::chrono::milliseconds(100);
// Below this a sample counts as silence (about -40 dB).
constexpr int SilenceLevel = 330;
constexpr std::uint32_t SpeedMinimum = espeakRATE_MINIMUM;
constexpr std::uint32_t SpeedMaximum = espeakRATE_MAXIMUM;
constexpr std::uint32_t PitchMaximum = 100;
// espeak-ng's normal volume; louder clips.
constexpr int EspeakFullVolume = 100;

std::atomic<bool> engineExists{false};

int InitializeEspeak()
{
    static const int sampleRate = [] {
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, BlockMilliseconds, nullptr,
                                           espeakINITIALIZE_DONT_EXIT);
        return rate;
    }();
    return sampleRate;
}

// The voices espeak-ng lists, in the list's order; whether each one's data
// is installed is not known yet.
std::vector<VoiceInfo> ListedVoices()
{
    std::vector<VoiceInfo> voices;
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (; list != nullptr && *list != nullptr; ++list) {
        const espeak_VOICE* voice = *list;
        if (voice->name == nullptr || voice->identifier == nullptr || voice->languages == nullptr)
            continue;
        // languages: a priority byte, then the first language's name.
        voices.push_back({voice->name, voice->identifier, voice->languages + 1});
    }
    SortVoicesForList(voices);
    return voices;
}

// A voice whose data is not installed does not load. Loading one reads its
// dictionary, which makes trying them all the largest part of a start.
bool Loads(const VoiceInfo& voice)
{
    return espeak_SetVoiceByName(voice.identifier.c_str()) == EE_OK;
}

} // namespace

struct EspeakEngine::Synthesis {
    EspeakEngine& engine;
    OpenAlStream& stream;
    std::uint64_t generation;
    bool leadingSilence = true;
    // Samples not yet handed to the output.
    std::vector<std::int16_t> gathered;

    static int Callback(short* samples, int count, espeak_EVENT* events)
    {
        if (events == nullptr || events->user_data == nullptr)
            return 0;
        auto& synthesis = *static_cast<Synthesis*>(events->user_data);
        if (samples == nullptr)
            return 0;
        return synthesis.engine.Deliver(synthesis, samples, count) ? 0 : 1;
    }
};

EspeakEngine::EspeakEngine(GuiThreadPoster& poster) : relay_(poster)
{
    if (engineExists.exchange(true))
        throw Error("The embedded speech engine is already in use");
    try {
        sampleRate_ = InitializeEspeak();
        if (sampleRate_ <= 0)
            throw Error("The embedded speech engine cannot be started");
        espeak_SetSynthCallback(&Synthesis::Callback);
        // The worker opens the audio output while the voices are read here:
        // each is a good part of the start. The worker calls espeak-ng only
        // once the voices are read.
        std::promise<void> ready;
        auto started = ready.get_future();
        std::promise<void> voicesRead;
        worker_ = std::thread([this, &ready, read = voicesRead.get_future().share()] { Run(ready, read); });
        try {
            // Only the first voice of the list that loads is needed now; the
            // worker tries the others while it waits for requests.
            voices_ = ListedVoices();
            while (!voices_.empty() && !Loads(voices_.front()))
                voices_.erase(voices_.begin());
            if (voices_.empty())
                throw Error("The embedded speech engine has no voice");
            voicesToCheck_ = 1;
            settings_.voice = voices_.front().identifier;
            settings_.speed = static_cast<std::uint32_t>(espeak_GetParameter(espeakRATE, 0));
            settings_.pitch = static_cast<std::uint32_t>(espeak_GetParameter(espeakPITCH, 0));
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                shutdown_ = true;
            }
            voicesRead.set_value();
            worker_.join();
            throw;
        }
        voicesRead.set_value();
        try {
            started.get();
        } catch (...) {
            worker_.join();
            throw;
        }
    } catch (...) {
        engineExists = false;
        throw;
    }
}

EspeakEngine::~EspeakEngine()
{
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
        ++generation_;
        queue_.clear();
    }
    changed_.notify_all();
    worker_.join();
    engineExists = false;
}

void EspeakEngine::Speak(std::string_view utf8Text, SpeechMarkup markup)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({std::string(utf8Text), markup});
        ++accepted_;
    }
    changed_.notify_all();
}

void EspeakEngine::Reset()
{
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        ++generation_;
    }
    changed_.notify_all();
}

std::optional<std::uint32_t> EspeakEngine::Parameter(SpeechParameter parameter) const
{
    std::lock_guard lock(mutex_);
    switch (parameter) {
    case SpeechParameter::Speed: return settings_.speed;
    case SpeechParameter::Pitch: return settings_.pitch;
    case SpeechParameter::Volume: return settings_.volume;
    }
    return std::nullopt;
}

bool EspeakEngine::SetParameter(SpeechParameter parameter, std::uint32_t value)
{
    std::lock_guard lock(mutex_);
    switch (parameter) {
    case SpeechParameter::Speed:
        settings_.speed = std::clamp(value, SpeedMinimum, SpeedMaximum);
        return true;
    case SpeechParameter::Pitch:
        settings_.pitch = std::min(value, PitchMaximum);
        return true;
    case SpeechParameter::Volume:
        settings_.volume = value;
        return true;
    }
    return false;
}

std::vector<VoiceInfo> EspeakEngine::ListVoices() const
{
    std::unique_lock lock(mutex_);
    voicesWanted_ = true;
    ++voicesAwaited_;
    changed_.notify_all();
    // The worker tries the rest after the request it is on.
    voicesChecked_.wait(lock, [&] { return voicesToCheck_ >= voices_.size(); });
    --voicesAwaited_;
    return voices_;
}

VoiceListing EspeakEngine::ListVoicesSoFar() const
{
    std::lock_guard lock(mutex_);
    // Trying every voice keeps a core busy for tens of milliseconds, which
    // the window needs more while it starts: the first call lets the
    // worker begin.
    if (!voicesWanted_) {
        voicesWanted_ = true;
        changed_.notify_all();
    }
    const auto tried = voices_.begin() + static_cast<std::ptrdiff_t>(voicesToCheck_);
    return {{voices_.begin(), tried}, voicesToCheck_ >= voices_.size()};
}

void EspeakEngine::SelectVoice(const std::string& identifier)
{
    std::unique_lock lock(mutex_);
    const auto known = [&] {
        const auto tried = voices_.begin() + static_cast<std::ptrdiff_t>(voicesToCheck_);
        return std::any_of(voices_.begin(), tried, [&](const VoiceInfo& voice) { return voice.identifier == identifier; });
    };
    if (!known() && voicesToCheck_ < voices_.size()) {
        lock.unlock();
        ListVoices();
        lock.lock();
    }
    if (!known())
        throw Error("The embedded speech engine has no voice " + identifier);
    settings_.voice = identifier;
}

void EspeakEngine::CheckNextVoice()
{
    // Only the worker changes the list, so it reads it unlocked.
    const std::size_t next = voicesToCheck_;
    const bool loads = Loads(voices_[next]);
    // Trying a voice made it the synthesiser's current one.
    appliedVoice_.clear();
    std::lock_guard lock(mutex_);
    if (loads)
        ++voicesToCheck_;
    else
        voices_.erase(voices_.begin() + static_cast<std::ptrdiff_t>(next));
    if (voicesToCheck_ >= voices_.size())
        voicesChecked_.notify_all();
}

void EspeakEngine::ApplySettings(const Settings& settings)
{
    if (settings.voice != appliedVoice_) {
        espeak_SetVoiceByName(settings.voice.c_str());
        appliedVoice_ = settings.voice;
    }
    espeak_SetParameter(espeakRATE, static_cast<int>(settings.speed), 0);
    espeak_SetParameter(espeakPITCH, static_cast<int>(settings.pitch), 0);
    const long level = static_cast<long>(settings.volume & 0xFFFF);
    espeak_SetParameter(espeakVOLUME, static_cast<int>((level * EspeakFullVolume + 32767) / 65535), 0);
}

void EspeakEngine::Run(std::promise<void>& ready, std::shared_future<void> voicesRead)
{
    std::unique_ptr<OpenAlStream> stream;
    try {
        stream = std::make_unique<OpenAlStream>(sampleRate_);
    } catch (...) {
        ready.set_exception(std::current_exception());
        return;
    }
    ready.set_value();
    voicesRead.wait();

    idleSince_ = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    std::uint64_t handledGeneration = generation_;
    bool periodOpen = false;  // requests taken since the last AudioStop
    while (!shutdown_) {
        if (handledGeneration != generation_) {
            handledGeneration = generation_;
            lock.unlock();
            stream->Stop();
            lock.lock();
            audioStarted_ = false;
            periodOpen = false;
            idleSince_ = std::chrono::steady_clock::now();
            relay_.PostAudioStop(accepted_ - queue_.size());
            continue;
        }
        if (!queue_.empty()) {
            const Request request = std::move(queue_.front());
            queue_.pop_front();
            const Settings settings = settings_;
            const std::uint64_t generation = generation_;
            periodOpen = true;
            lock.unlock();
            ApplySettings(settings);
            Synthesize(request, generation, *stream);
            idleSince_ = std::chrono::steady_clock::now();
            lock.lock();
            continue;
        }
        // Voices are tried between requests, also while the output plays
        // the last one out: at once for a caller waiting for them,
        // otherwise once the synthesiser has been idle a moment.
        const auto checkFrom = idleSince_ + IdleBeforeVoiceChecks;
        const bool voicesLeft = VoicesLeftToCheck() && handledGeneration == generation_;
        if (voicesLeft && (voicesAwaited_ > 0 || std::chrono::steady_clock::now() >= checkFrom)) {
            lock.unlock();
            CheckNextVoice();
            lock.lock();
            continue;
        }
        if (!periodOpen) {
            const auto woken = [&] {
                return shutdown_ || !queue_.empty() || handledGeneration != generation_ ||
                       (VoicesLeftToCheck() && (voicesAwaited_ > 0 || !voicesLeft));
            };
            if (voicesLeft)
                changed_.wait_until(lock, checkFrom, woken);
            else
                changed_.wait(lock, woken);
            continue;
        }
        // Nothing left to synthesise: wait for the device to play the rest.
        lock.unlock();
        const bool playing = audioStarted_ && stream->Playing();
        const std::size_t pending = playing ? stream->SamplesPending() : 0;
        lock.lock();
        if (!playing) {
            if (queue_.empty() && handledGeneration == generation_) {
                periodOpen = false;
                audioStarted_ = false;
                relay_.PostAudioStop(accepted_);
            }
            continue;
        }
        // One wake-up when the last sample should have played; a new
        // request or a reset wakes it sooner.
        const auto left = std::chrono::milliseconds(pending * 1000 / static_cast<std::size_t>(sampleRate_) + 1);
        const auto played = std::chrono::steady_clock::now() + left;
        changed_.wait_until(lock, voicesLeft ? std::min(played, checkFrom) : played);
    }
}

void EspeakEngine::Synthesize(const Request& request, std::uint64_t generation, OpenAlStream& stream)
{
    Synthesis synthesis{*this, stream, generation, true, {}};
    unsigned flags = espeakCHARS_UTF8;
    if (request.markup == SpeechMarkup::Ssml)
        flags |= espeakSSML;
    espeak_Synth(request.text.c_str(), request.text.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, &synthesis);
    if (!synthesis.gathered.empty())
        HandOver(synthesis);
}

bool EspeakEngine::Deliver(Synthesis& synthesis, const short* samples, int count)
{
    if (synthesis.leadingSilence) {
        const short* loud = std::find_if(samples, samples + count, [](short s) { return std::abs(s) >= SilenceLevel; });
        count -= static_cast<int>(loud - samples);
        samples = loud;
        if (count == 0)
            return true;
        synthesis.leadingSilence = false;
    }
    synthesis.gathered.insert(synthesis.gathered.end(), samples, samples + count);
    const std::size_t piece = static_cast<std::size_t>(sampleRate_) * PieceMilliseconds / 1000;
    // An output short of samples takes every block as it comes (the first
    // of a key's name at once); a fuller one waits for a whole piece.
    if (synthesis.gathered.size() < piece && synthesis.stream.SamplesPending() >= piece)
        return true;
    if (!HandOver(synthesis))
        return false;
    // Sleeps while the output holds more than a piece beyond the one
    // playing: woken once the output needs the next, or by a reset.
    for (;;) {
        const std::size_t pending = synthesis.stream.SamplesPending();
        if (pending <= 2 * piece)
            return true;
        const auto spare = std::chrono::milliseconds((pending - piece) * 1000 / static_cast<std::size_t>(sampleRate_));
        std::unique_lock lock(mutex_);
        if (changed_.wait_for(lock, spare, [&] { return generation_ != synthesis.generation; }))
            return false;
    }
}

bool EspeakEngine::HandOver(Synthesis& synthesis)
{
    while (!synthesis.stream.HasFreeBuffer()) {
        std::unique_lock lock(mutex_);
        const bool cancelled = changed_.wait_for(lock, std::chrono::milliseconds(PieceMilliseconds / 2),
                                                 [&] { return generation_ != synthesis.generation; });
        if (cancelled)
            return false;
    }
    {
        std::lock_guard lock(mutex_);
        if (generation_ != synthesis.generation)
            return false;
    }
    synthesis.stream.Queue(synthesis.gathered.data(), synthesis.gathered.size());
    synthesis.gathered.clear();
    if (!audioStarted_) {
        audioStarted_ = true;
        relay_.PostAudioStart();
    }
    return true;
}

} // namespace orbela
