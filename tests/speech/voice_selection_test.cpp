// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/voice_selection.h"

#include <gtest/gtest.h>

#include "text/error.h"
#include "speech/recording_engine.h"
#include "support/fakes.h"
#include "support/gui_queue.h"

namespace orbela {
namespace {

using testing::Cp;

class VoiceSelectionTest : public ::testing::Test {
protected:
    VoiceSelectionTest()
    {
        engine.SetRange(SpeechParameter::Speed, {80, 450, 175});
        engine.SetRange(SpeechParameter::Pitch, {0, 100, 50});
        engine.SetRange(SpeechParameter::Volume, {0, 0xFFFFFFFF, 0xFFFFFFFF});
    }
    testing::GuiQueue gui;
    RecordingEngine engine{gui};
};

TEST(VoiceList, PicksJakubOrTheFirstAndFindsNamesWithoutRegardToCase)
{
    EXPECT_EQ(DefaultVoiceIndex({"Czech", "Jakub", "Jakub"}), 1u);
    EXPECT_EQ(DefaultVoiceIndex({"Czech", "jakub"}), 0u);
    EXPECT_EQ(DefaultVoiceIndex({}), std::nullopt);

    const std::vector<std::string> names{"Czech", "Slovak", Cp("Žofie")};
    EXPECT_EQ(FindVoiceIndex(names, "SLOVAK"), 1u);
    EXPECT_EQ(FindVoiceIndex(names, Cp("žofie")), 2u);
    EXPECT_EQ(FindVoiceIndex(names, "Slov"), std::nullopt);
}

TEST_F(VoiceSelectionTest, BarsGetTheEnginesRangesAndTheValuesStay)
{
    const auto speed = ReadSpeedRange(engine);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->minimum, 80);
    EXPECT_EQ(speed->maximum, 450);
    EXPECT_EQ(speed->position, 175);
    EXPECT_EQ(speed->tickFrequency, 37);
    EXPECT_EQ(engine.Parameter(SpeechParameter::Speed), 175u);

    const auto pitch = ReadPitchRange(engine);
    ASSERT_TRUE(pitch);
    EXPECT_EQ(pitch->maximum, 100);
    EXPECT_EQ(pitch->tickFrequency, 10);
    // The pitch is 16 bits wide: its maximum is probed with 0xFFFF.
    bool probedWith16Bits = false;
    for (const auto& command : engine.Commands()) {
        if (command.parameter == SpeechParameter::Pitch && command.value == 0xFFFF)
            probedWith16Bits = true;
    }
    EXPECT_TRUE(probedWith16Bits);

    const auto volume = ReadVolumeRange(engine);
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->minimum, 0);
    EXPECT_EQ(volume->maximum, 255);
    EXPECT_EQ(volume->position, 255);
    EXPECT_FALSE(volume->tickFrequency);
    EXPECT_EQ(ClampToBar(255, *volume), 255);
    EXPECT_EQ(ClampToBar(999, *speed), 450);
    EXPECT_EQ(ClampToBar(0, *speed), 80);
}

TEST_F(VoiceSelectionTest, AnEngineWithoutAParameterLeavesItsBarAlone)
{
    RecordingEngine bare(gui);
    EXPECT_FALSE(ReadSpeedRange(bare));
    EXPECT_FALSE(ReadVolumeRange(bare));
}

TEST_F(VoiceSelectionTest, TagsApplyTheirValues)
{
    EXPECT_EQ(VolumeTag(128), "\\Vol=32768\\");
    EXPECT_EQ(VolumeTag(255), "\\Vol=65280\\");
    EXPECT_EQ(SpeedTag(200), "\\Spd=200\\");
    EXPECT_EQ(PitchTag(7), "\\Pit=7\\");

    Inject(engine, VolumeTag(128));
    EXPECT_EQ(engine.Parameter(SpeechParameter::Volume), 0x80008000u);
    EXPECT_EQ(ReadVolumeRange(engine)->position, 128);
    Inject(engine, SpeedTag(500));
    EXPECT_EQ(engine.Parameter(SpeechParameter::Speed), 450u);
    Inject(engine, PitchTag(7));
    EXPECT_EQ(engine.Parameter(SpeechParameter::Pitch), 7u);

    EXPECT_THROW(Inject(engine, "\\Rate=5\\"), Error);
    EXPECT_THROW(Inject(engine, "\\Spd=x\\"), Error);
    EXPECT_THROW(Inject(engine, "\\Spd=\\"), Error);
    EXPECT_THROW(Inject(engine, "Spd=5"), Error);
}

} // namespace
} // namespace orbela
