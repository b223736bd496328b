// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "text/error.h"
#include "runtime/tone_sounds.h"
#include "runtime_fixture.h"
#include "support/gui_queue.h"

namespace orbela::testing {
namespace {

using Log = std::vector<std::string>;

class RecordingSound final : public ToneSound {
public:
    RecordingSound(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    void SetLooped(bool looped) override { Note("looped " + std::to_string(looped)); }
    void SetFrequency(std::int32_t hz) override { Note("hz " + std::to_string(hz)); }
    void SetVolume(std::int32_t volume) override { Note("volume " + std::to_string(volume)); }
    void Play() override { Note("play"); }
    void Stop() override { Note("stop"); }

private:
    void Note(const std::string& what) { log_.push_back(name_ + " " + what); }
    std::string name_;
    Log& log_;
};

// Holds every chord wave and effect except the names marked missing.
class RecordingToneSounds final : public ToneSounds {
public:
    explicit RecordingToneSounds(Log& log) : log_(log) {}
    ToneSound& FindSound(std::string_view name) override
    {
        const std::string key(name);
        if (missing.count(key))
            throw Error("Wave '" + key + "' not found");
        auto& sound = sounds_[key];
        if (!sound)
            sound = std::make_unique<RecordingSound>(key, log_);
        return *sound;
    }
    void PlaySoundEffect(std::string_view name, std::int32_t volume) override
    {
        log_.push_back("effect " + std::string(name) + " " + std::to_string(volume));
    }
    std::set<std::string> missing;

private:
    Log& log_;
    std::map<std::string, std::unique_ptr<RecordingSound>> sounds_;
};

class SoundStatementsTest : public RuntimeTest {
protected:
    SoundStatementsTest()
    {
        runtime.SetToneSounds(&sounds);
        runtime.SetToneTimer(&pump);
        runtime.SetMessagePump(pump);
        runtime.State().sndvolume = -2500;
        // As the main window's timer: its tick ends the wait.
        pump.OnTimerStart([this](std::int32_t interval) { log.push_back("timer " + std::to_string(interval)); });
        pump.OnTick([this] {
            log.push_back("tick");
            runtime.State().timerwait = false;
        });
        // Waiting with no timer armed would block for ever: fail at once.
        pump.SetTimeout(std::chrono::milliseconds(0));
    }
    Log log;
    RecordingToneSounds sounds{log};
    // Each wait handles the messages posted so far; with none, the armed
    // timer ticks at once.
    GuiQueue pump{GuiQueue::Time::Virtual};
};

TEST_F(SoundStatementsTest, AChordSoundsTogetherUntilTheTickThenEveryWaveStops)
{
    pump.Post([this] { log.push_back("other message"); });
    runtime.Tone({300, 450}, 5, 100);
    const Log expected{
        "snd15 looped 1", "snd15 hz 19200", "snd15 volume -2500", "snd15 play",
        "snd25 looped 1", "snd25 hz 28800", "snd25 volume -2500", "snd25 play",
        "timer 100",      "other message",  "tick",               "snd15 stop",
        "snd25 stop",
    };
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_FALSE(pump.TimerArmed());
    EXPECT_EQ(runtime.State().sndwaveset, 5);
    EXPECT_EQ(runtime.State().sndduration, 100);
}

TEST_F(SoundStatementsTest, ArgumentsAreTruncatedAndOutOfRangeOnesRepeatTheLastTone)
{
    // At start the last tone counts as wave set 1 and 1 millisecond.
    runtime.Tone({2000.9}, 12, -1);
    EXPECT_EQ(log, (Log{"snd11 looped 1", "snd11 hz 128000", "snd11 volume -2500", "snd11 play", "timer 1", "tick",
                        "snd11 stop"}));

    log.clear();
    runtime.Tone({0.7, -2.9}, 3.99, 50.8);
    EXPECT_EQ(log, (Log{"snd13 looped 1", "snd13 hz 128", "snd13 volume -2500", "snd13 play", "snd23 looped 1",
                        "snd23 hz -128", "snd23 volume -2500", "snd23 play", "timer 50", "tick", "snd13 stop",
                        "snd23 stop"}));
    EXPECT_EQ(runtime.State().sndwaveset, 3);
    EXPECT_EQ(runtime.State().sndduration, 50);

    log.clear();
    runtime.Tone({400}, 9, -0.5);
    EXPECT_EQ(log.front(), "snd19 looped 1");
    EXPECT_EQ(log[4], "timer 50");

    log.clear();
    runtime.Tone({400}, 9.5, -3);
    EXPECT_EQ(log.front(), "snd19 looped 1");
    EXPECT_EQ(log[4], "timer 50");
}

TEST_F(SoundStatementsTest, WithTheOrbelaSoundsOffNothingSoundsWaitsOrChanges)
{
    runtime.State().orbelasounds = false;
    runtime.Tone({300, 450}, 5, 100);
    runtime.Beep();
    runtime.Click(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(pump.Waits(), 0);
    EXPECT_EQ(runtime.State().sndwaveset, 1);
    EXPECT_EQ(runtime.State().sndduration, 1);
}

TEST_F(SoundStatementsTest, ALengthBelowOneMillisecondReturnsAtOnce)
{
    runtime.Tone({300}, 4, 0.9);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(pump.Waits(), 0);
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_EQ(runtime.State().sndwaveset, 4);
    EXPECT_EQ(runtime.State().sndduration, 0);
}

TEST_F(SoundStatementsTest, AnEmptyChordStillWaitsForItsLength)
{
    runtime.Tone({}, 2, 30);
    EXPECT_EQ(log, (Log{"timer 30", "tick"}));
}

TEST_F(SoundStatementsTest, AKeyClearingTheFlagCutsTheChordShortAndDisarmsTheTimer)
{
    pump.Post([this] {
        log.push_back("key");
        runtime.State().timerwait = false;
    });
    runtime.Tone({300, 450}, 5, 100);
    EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
              (Log{"timer 100", "key", "snd15 stop", "snd25 stop"}));
    EXPECT_FALSE(pump.TimerArmed());
    EXPECT_EQ(pump.Waits(), 1);
}

TEST_F(SoundStatementsTest, ANestedToneReArmsTheOneTimerAndTheOuterStopsAtOnceAfterIt)
{
    pump.Post([this] { runtime.Tone({2000}, 1, 20); });
    runtime.Tone({300, 450}, 5, 100);
    const Log tail(log.begin() + 8, log.end());
    EXPECT_EQ(tail, (Log{"timer 100", "snd11 looped 1", "snd11 hz 128000", "snd11 volume -2500", "snd11 play",
                         "timer 20", "tick", "snd11 stop", "snd15 stop", "snd25 stop"}));
    EXPECT_EQ(pump.Waits(), 2);
    EXPECT_FALSE(pump.TimerArmed());
    EXPECT_EQ(runtime.State().sndwaveset, 1);
    EXPECT_EQ(runtime.State().sndduration, 20);
}

TEST_F(SoundStatementsTest, AMissingWaveRaisesAndLeavesNothingLoopingNorWaiting)
{
    sounds.missing.insert("snd25");
    try {
        runtime.Tone({300, 450}, 5, 100);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Wave 'snd25' not found");
    }
    EXPECT_EQ(log.back(), "snd15 stop");
    EXPECT_EQ(std::count(log.begin(), log.end(), "snd15 play"), 1);
    EXPECT_EQ(pump.Waits(), 0);
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_FALSE(pump.TimerArmed());
}

TEST_F(SoundStatementsTest, AChordPlaysAtMost255Waves)
{
    runtime.Tone(std::vector<double>(300, 100), 1, 10);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& line) {
                  return line.ends_with(" play");
              }),
              255);
    EXPECT_NE(std::find(log.begin(), log.end(), "snd2551 play"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "snd2561 play"), log.end());
    EXPECT_EQ(log.back(), "snd2551 stop");
}

TEST_F(SoundStatementsTest, BeepAndClickPlayTheirEffectAtTheSoundVolume)
{
    runtime.Beep();
    runtime.Click(2.9);
    runtime.Click(16);
    runtime.Click(-2.9);
    EXPECT_EQ(log, (Log{"effect beep -2500", "effect click2 -2500", "effect click16 -2500", "effect click-2 -2500"}));
}

TEST_F(RuntimeTest, WithoutSoundsTheStatementsAreSilentButKeepTheRules)
{
    runtime.Tone({300}, 6, 40);
    runtime.Beep();
    runtime.Click(2);
    EXPECT_EQ(runtime.State().sndwaveset, 6);
    EXPECT_EQ(runtime.State().sndduration, 40);
    EXPECT_FALSE(runtime.State().timerwait);
    EXPECT_EQ(clock.Now().count(), 0);
}

TEST_F(RuntimeTest, WithSoundsButNoTimerTheToneHoldsForItsLengthOnTheClock)
{
    Log log;
    RecordingToneSounds sounds{log};
    runtime.SetToneSounds(&sounds);
    runtime.Tone({300}, 1, 40);
    EXPECT_EQ(clock.Now().count(), 40);
    EXPECT_EQ(log.back(), "snd11 stop");
    EXPECT_FALSE(runtime.State().timerwait);
}

} // namespace
} // namespace orbela::testing
