// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_list.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "recording_audio_device.h"
#include "runtime/clock.h"
#include "text/error.h"
#include "runtime/runtime_state.h"
#include "sound/sound_list_tone_sounds.h"
#include "stream_builder.h"

namespace orbela {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::MonoWave;
using testing::RecordingAudioDevice;
using testing::SourceRecord;

struct SoundSpec {
    std::string name;
    bool looped = false;
    int maxPlayingCount = 0;
    std::uint32_t rate = 22050;
    std::size_t frames = 4;
};

std::vector<std::uint8_t> StreamOf(const std::vector<SoundSpec>& sounds)
{
    Bytes stream;
    stream.Header().ListStart();
    for (const SoundSpec& sound : sounds) {
        stream.ItemStart().Name("Name").String(sound.name);
        if (sound.looped)
            stream.Name("Looped").True();
        stream.Name("MaxPlayingCount").Int32(sound.maxPlayingCount);
        std::vector<std::uint8_t> samples(sound.frames * 2, 0x11);
        stream.Name("Wave.WAVE").Binary(MonoWave(samples, sound.rate)).End();
    }
    stream.Footer();
    return stream.data;
}

class SoundListTest : public ::testing::Test {
protected:
    void Load(const std::vector<SoundSpec>& sounds) { list.Load(StreamOf(sounds)); }
    // The source the device made for the n-th time.
    SourceRecord& Source(std::size_t n) { return *device.sources.at(n); }

    RecordingAudioDevice device;
    VirtualClock clock;
    SoundList list{&device, clock};
};

TEST_F(SoundListTest, LoadingPreparesEverySoundWithAMainBufferAtItsInitialSettings)
{
    Load({{"beep", false, 0, 22050, 3}, {"snd11", true, 0, 28160, 64}});

    ASSERT_EQ(list.Count(), 2u);
    ASSERT_EQ(device.buffers.size(), 2u);
    EXPECT_EQ(device.buffers[0].format.samplesPerSec, 22050u);
    EXPECT_EQ(device.buffers[0].samples, std::vector<std::uint8_t>(6, 0x11));
    EXPECT_EQ(device.buffers[1].format.samplesPerSec, 28160u);
    EXPECT_EQ(device.buffers[1].samples.size(), 128u);
    ASSERT_EQ(device.sources.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Source(i).buffer, i);
        EXPECT_FLOAT_EQ(Source(i).pitch, 1.0f);
        EXPECT_FLOAT_EQ(Source(i).gain, 1.0f);
        EXPECT_FLOAT_EQ(Source(i).x, 0.0f);
        EXPECT_FALSE(Source(i).playing);
    }
    EXPECT_TRUE(list.At(0).Prepared());
    EXPECT_EQ(list.At(0).Frequency(), 0);
    EXPECT_EQ(list.At(0).Volume(), 0);
    EXPECT_TRUE(list.At(1).Looped());
}

TEST_F(SoundListTest, FindSoundIgnoresLetterCaseAndNamesAMissingWave)
{
    Load({{"beep"}, {"Click2"}});

    EXPECT_EQ(&list.FindSound("BEEP"), &list.At(0));
    EXPECT_EQ(&list.FindSound("click2"), &list.At(1));
    try {
        list.FindSound("click3");
        FAIL() << "click3 was found";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Wave 'click3' not found");
    }
}

TEST_F(SoundListTest, LoadingReplacesTheWholeList)
{
    Load({{"old"}});
    Load({{"new"}});

    EXPECT_EQ(list.Count(), 1u);
    EXPECT_NO_THROW(list.FindSound("new"));
    EXPECT_THROW(list.FindSound("old"), Error);
}

TEST_F(SoundListTest, AtMaxPlayingCountTwoTheOlderCopyRestartsAndMovesToTheEnd)
{
    Load({{"click2", false, 2}});
    Sound& click = list.FindSound("click2");

    click.Play(PlayWait::NoWait);  // copy A
    click.Play(PlayWait::NoWait);  // copy B
    ASSERT_EQ(click.CopyCount(), 2u);
    ASSERT_EQ(device.sources.size(), 3u);  // main, A, B
    SourceRecord& a = Source(1);
    SourceRecord& b = Source(2);
    EXPECT_TRUE(a.playing && b.playing);

    click.Play(PlayWait::NoWait);
    EXPECT_EQ(device.sources.size(), 3u);
    EXPECT_EQ(a.plays, 2);
    EXPECT_EQ(b.plays, 1);
    EXPECT_EQ(a.calls.back(), "play");
    EXPECT_GE(a.rewinds, 2);

    // A went to the end, so B is now the oldest.
    click.Play(PlayWait::NoWait);
    EXPECT_EQ(b.plays, 2);
    EXPECT_EQ(a.plays, 2);
    EXPECT_EQ(Source(0).plays, 0);
}

TEST_F(SoundListTest, AFinishedCopyIsReusedAndWithoutALimitCopiesGrow)
{
    Load({{"beep", false, 0}});
    Sound& beep = list.FindSound("beep");

    for (int i = 0; i < 5; ++i)
        beep.Play(PlayWait::NoWait);
    EXPECT_EQ(beep.CopyCount(), 5u);

    device.FinishAll();
    beep.Play(PlayWait::NoWait);
    EXPECT_EQ(beep.CopyCount(), 5u);
    EXPECT_EQ(Source(1).plays, 2);
}

TEST_F(SoundListTest, ALoopedSoundPlayedTwiceRestartsItsOneSourceFromTheStart)
{
    Load({{"snd11", true}});
    Sound& tone = list.FindSound("snd11");

    tone.Play(PlayWait::NoWait);
    tone.Play(PlayWait::UntilDone);

    EXPECT_EQ(device.sources.size(), 1u);
    EXPECT_EQ(tone.CopyCount(), 0u);
    SourceRecord& main = Source(0);
    EXPECT_EQ(main.plays, 2);
    EXPECT_EQ(main.mode, PlayMode::Looping);
    EXPECT_TRUE(main.playing);
    std::vector<std::string> restart{"stop", "rewind", "play"};
    ASSERT_GE(main.calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(main.calls.end() - 3, main.calls.end()), restart);
    // A looped play never waits.
    EXPECT_EQ(clock.Now(), 0ms);
}

TEST_F(SoundListTest, ChangingLoopedStopsTheSoundAndKeepingItDoesNot)
{
    Load({{"snd13", false}});
    Sound& tone = list.FindSound("snd13");
    tone.SetLooped(true);
    tone.Play(PlayWait::NoWait);
    ASSERT_TRUE(Source(0).playing);

    tone.SetLooped(true);
    EXPECT_TRUE(Source(0).playing);
    tone.SetLooped(false);
    EXPECT_FALSE(Source(0).playing);
    EXPECT_FALSE(tone.Looped());
}

TEST_F(SoundListTest, FrequencyAndVolumeReachTheMainBufferAtOnceAndEachCopyAtItsPlay)
{
    Load({{"snd15", true, 0, 28160}, {"beep", false, 0, 22050}});
    Sound& tone = list.FindSound("snd15");

    tone.SetFrequency(64 * 300);
    tone.SetVolume(-2000);
    EXPECT_FLOAT_EQ(Source(0).pitch, 19200.0f / 28160.0f);
    EXPECT_NEAR(Source(0).gain, 0.1f, 1e-6);
    tone.SetFrequency(0);
    EXPECT_FLOAT_EQ(Source(0).pitch, 1.0f);

    Sound& beep = list.FindSound("beep");
    beep.SetFrequency(44100);
    beep.SetVolume(-4000);
    beep.Play(PlayWait::NoWait);
    SourceRecord& copy = Source(2);
    EXPECT_FLOAT_EQ(copy.pitch, 2.0f);
    EXPECT_NEAR(copy.gain, 0.01f, 1e-7);
    // Settings come after the restart and before the play.
    ASSERT_EQ(copy.calls.size(), 6u);
    EXPECT_EQ(copy.calls[0], "stop");
    EXPECT_EQ(copy.calls[1], "rewind");
    EXPECT_EQ(copy.calls[5], "play");
}

TEST_F(SoundListTest, PlayingWithWaitPollsEveryTenMillisecondsUntilTheCopyHasStopped)
{
    Load({{"beep"}});
    device.pollsUntilDone = 5;

    list.FindSound("beep").Play(PlayWait::UntilDone);
    EXPECT_EQ(clock.Now(), 50ms);
    EXPECT_FALSE(Source(1).playing);

    list.FindSound("beep").Play(PlayWait::NoWait);
    EXPECT_EQ(clock.Now(), 50ms);
    EXPECT_TRUE(Source(1).playing);
}

TEST_F(SoundListTest, TheWaitGivesUpWhenTheDeviceNeverReportsTheEnd)
{
    // One second of wave: waited for at most twice that and one more second.
    Load({{"beep", false, 0, 22050, 22050}});

    list.FindSound("beep").Play(PlayWait::UntilDone);

    EXPECT_TRUE(Source(1).playing);
    EXPECT_EQ(clock.Now(), 3000ms);
}

TEST_F(SoundListTest, SoundEffectsPlayAtTheSoundVolumeToTheirEnd)
{
    Load({{"beep"}});
    device.pollsUntilDone = 3;
    RuntimeState state;
    state.sndvolume = -2000;

    list.PlaySoundEffect("Beep", state);

    EXPECT_EQ(list.FindSound("beep").Volume(), -2000);
    EXPECT_NEAR(Source(1).gain, 0.1f, 1e-6);
    EXPECT_EQ(Source(1).plays, 1);
    EXPECT_EQ(clock.Now(), 30ms);
    EXPECT_THROW(list.PlaySoundEffect("click3", state), Error);
}

TEST_F(SoundListTest, WithTheOrbelaSoundsOffNothingSoundsAndNoNameIsLookedUp)
{
    Load({{"beep"}});
    std::size_t callsBefore = Source(0).calls.size();
    RuntimeState state;
    state.orbelasounds = false;
    state.sndvolume = -5000;

    EXPECT_NO_THROW(list.PlaySoundEffect("beep", state));
    EXPECT_NO_THROW(list.PlaySoundEffect("no such wave", state));

    EXPECT_EQ(device.sources.size(), 1u);
    EXPECT_EQ(Source(0).calls.size(), callsBefore);
    EXPECT_EQ(list.FindSound("beep").Volume(), 0);
    EXPECT_EQ(clock.Now(), 0ms);
}

TEST_F(SoundListTest, StopStopsTheMainBufferAndEveryCopy)
{
    Load({{"beep"}});
    Sound& beep = list.FindSound("beep");
    beep.Play(PlayWait::NoWait);
    beep.Play(PlayWait::NoWait);

    beep.Stop();

    for (const auto& source : device.sources) {
        EXPECT_FALSE(source->playing);
        EXPECT_GE(source->stops, 1);
    }
}

TEST_F(SoundListTest, ChangingMaxPlayingCountFreesTheCopies)
{
    Load({{"beep", false, 0}});
    Sound& beep = list.FindSound("beep");
    beep.Play(PlayWait::NoWait);
    beep.Play(PlayWait::NoWait);
    ASSERT_EQ(device.AliveSources(), 3u);

    beep.SetMaxPlayingCount(-4);
    EXPECT_EQ(beep.MaxPlayingCount(), 0);
    EXPECT_EQ(beep.CopyCount(), 2u);
    beep.SetMaxPlayingCount(1);
    EXPECT_EQ(beep.CopyCount(), 0u);
    EXPECT_EQ(device.AliveSources(), 1u);
}

TEST_F(SoundListTest, ASoundThatCannotBePreparedStaysSilentAndTheOthersArePrepared)
{
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Name").String("empty").End();
    stream.ItemStart().Name("Name").String("beep").Name("Wave.WAVE").Binary(MonoWave({1, 0})).End();
    stream.Footer();

    try {
        list.Load(stream.data);
        FAIL() << "the empty wave was prepared";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Sound Buffer cannot be made: ", 0), 0u) << error.what();
    }
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_FALSE(list.FindSound("empty").Prepared());
    EXPECT_TRUE(list.FindSound("beep").Prepared());
    EXPECT_NO_THROW(list.FindSound("empty").Play(PlayWait::UntilDone));

    device.failNextBuffer = "Sound Buffer cannot be made: refused";
    EXPECT_THROW(list.Load(StreamOf({{"beep"}, {"click2"}})), Error);
    EXPECT_FALSE(list.FindSound("beep").Prepared());
    EXPECT_TRUE(list.FindSound("click2").Prepared());
}

TEST_F(SoundListTest, AMalformedStreamLeavesTheListEmpty)
{
    Load({{"beep"}});
    EXPECT_THROW(list.Load(std::vector<std::uint8_t>{'T', 'P', 'F', '1'}), Error);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(SoundListWithoutDevice, FindsSoundsAndPlaysSilently)
{
    VirtualClock clock;
    SoundList list(nullptr, clock);
    list.Load(StreamOf({{"beep"}, {"snd11", true}}));

    Sound& beep = list.FindSound("BEEP");
    EXPECT_FALSE(beep.Prepared());
    beep.SetFrequency(1000);
    beep.SetVolume(-100);
    EXPECT_NO_THROW(beep.Play(PlayWait::UntilDone));
    EXPECT_NO_THROW(list.FindSound("snd11").Play(PlayWait::NoWait));
    list.FindSound("snd11").Stop();
    EXPECT_EQ(beep.CopyCount(), 0u);
    EXPECT_EQ(clock.Now(), 0ms);
}

TEST(SoundListFile, LoadsAFileAndReportsAMissingOne)
{
    VirtualClock clock;
    SoundList list(nullptr, clock);
    auto folder = std::filesystem::temp_directory_path() / ("orbela-sound-list-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto path = folder / "sounds.dat";
    {
        auto bytes = StreamOf({{"beep"}, {"click16"}});
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    EXPECT_TRUE(list.LoadFile(path));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_FALSE(list.LoadFile(folder / "missing.dat"));

    // A damaged file is named in the error; an oversized one is refused
    // before it is read (a sparse file costs no disk).
    std::filesystem::resize_file(path, 10);
    try {
        static_cast<void>(list.LoadFile(path));
        ADD_FAILURE() << "a damaged file loaded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("\"" + path.string() + "\": ", 0), 0u) << error.what();
    }
    std::filesystem::resize_file(path, SoundList::MaxFileBytes + 1);
    try {
        static_cast<void>(list.LoadFile(path));
        ADD_FAILURE() << "an oversized file loaded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "\"" + path.string() + "\" is larger than 16777216 bytes and is not read");
    }
    std::filesystem::remove_all(folder);
}

TEST(SoundListFile, ADamagedWaveIsLeftOutOnceReportedAndTheOthersLoad)
{
    VirtualClock clock;
    RecordingAudioDevice device;
    SoundList list(&device, clock);
    auto folder = std::filesystem::temp_directory_path() / ("orbela-damaged-wave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto path = folder / "sounds.dat";
    auto damaged = MonoWave({1, 0, 2, 0});
    damaged[0] = 'X';
    Bytes stream;
    stream.Header().ListStart();
    stream.ItemStart().Name("Name").String("beep").Name("Wave.WAVE").Binary(MonoWave({1, 0})).End();
    stream.ItemStart().Name("Name").String("snd15").Name("Wave.WAVE").Binary(damaged).End();
    stream.ItemStart().Name("Name").String("snd25").Name("Wave.WAVE").Binary(MonoWave({3, 0})).End();
    stream.Footer();
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(stream.data.data()), static_cast<std::streamsize>(stream.data.size()));
    }

    try {
        static_cast<void>(list.LoadFile(path));
        ADD_FAILURE() << "the damaged wave was not reported";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "\"" + path.string() + "\": Wave is invalid (wave 'snd15')");
    }
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_TRUE(list.FindSound("beep").Prepared());
    EXPECT_TRUE(list.FindSound("snd25").Prepared());
    // Its load already said what is wrong: its uses are silent.
    SoundListToneSounds sounds(list);
    EXPECT_NO_THROW(sounds.FindSound("SND15").Play());
    EXPECT_NO_THROW(list.PlaySoundEffect("snd15", true, 0));
    std::filesystem::remove_all(folder);
}

TEST(SoundListMissingWave, IsReportedAtItsFirstUseOnlyAndAgainAfterAReload)
{
    VirtualClock clock;
    RecordingAudioDevice device;
    SoundList list(&device, clock);
    list.Load(StreamOf({{"beep"}, {"snd11", true}}));
    SoundListToneSounds sounds(list);

    try {
        sounds.FindSound("snd15");
        ADD_FAILURE() << "snd15 was found";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Wave 'snd15' not found");
    }
    const std::size_t sourcesBefore = device.sources.size();
    for (int use = 0; use < 3; ++use) {
        ToneSound& silent = sounds.FindSound("Snd15");
        silent.SetLooped(true);
        silent.SetFrequency(19200);
        silent.Play();
        silent.Stop();
    }
    EXPECT_EQ(device.sources.size(), sourcesBefore);
    // Each missing name has its own first report, Beep and Click as well.
    EXPECT_THROW(list.PlaySoundEffect("click3", true, 0), Error);
    EXPECT_NO_THROW(list.PlaySoundEffect("click3", true, 0));
    EXPECT_THROW(sounds.FindSound("snd25"), Error);
    // The found ones still play, and FindSound keeps naming what is missing.
    sounds.FindSound("snd11").Play();
    EXPECT_TRUE(device.sources.at(1)->playing);
    EXPECT_THROW(list.FindSound("snd15"), Error);
    // A new list is a new chance for the file to be right, or reported.
    list.Load(StreamOf({{"beep"}}));
    EXPECT_THROW(sounds.FindSound("snd15"), Error);
}

} // namespace
} // namespace orbela
