// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orbela {
namespace {

TEST(SoundMapping, AttenuationInHundredthsOfADecibelBecomesAnAmplitudeFactor)
{
    EXPECT_FLOAT_EQ(GainForVolume(0), 1.0f);
    EXPECT_NEAR(GainForVolume(-600), 0.501187f, 1e-5);
    EXPECT_NEAR(GainForVolume(-2000), 0.1f, 1e-7);
    EXPECT_NEAR(GainForVolume(-10000), 1e-5f, 1e-10);
    // Outside −10000..0 the ends hold.
    EXPECT_FLOAT_EQ(GainForVolume(500), 1.0f);
    EXPECT_NEAR(GainForVolume(-20000), 1e-5f, 1e-10);
}

TEST(SoundMapping, ARateInHertzBecomesAFactorOfTheWavesOwnRate)
{
    EXPECT_FLOAT_EQ(PitchForFrequency(28800, 28160), 28800.0f / 28160.0f);
    EXPECT_FLOAT_EQ(PitchForFrequency(11025, 22050), 0.5f);
    EXPECT_FLOAT_EQ(PitchForFrequency(0, 22050), 1.0f);
    EXPECT_FLOAT_EQ(PitchForFrequency(-320, 22050), 1.0f);
    EXPECT_FLOAT_EQ(PitchForFrequency(1000, 0), 1.0f);
}

TEST(SoundMapping, PanPlacesTheSourceOnACircleInFront)
{
    auto centre = PositionForPan(0);
    EXPECT_FLOAT_EQ(centre.x, 0.0f);
    EXPECT_FLOAT_EQ(centre.z, -1.0f);
    auto left = PositionForPan(-10000);
    EXPECT_FLOAT_EQ(left.x, -1.0f);
    EXPECT_NEAR(left.z, 0.0f, 1e-6);
    auto halfRight = PositionForPan(5000);
    EXPECT_FLOAT_EQ(halfRight.x, 0.5f);
    EXPECT_NEAR(std::hypot(halfRight.x, halfRight.z), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(PositionForPan(30000).x, 1.0f);
}

TEST(SoundMapping, TheSliderRunsFromSilenceToFullVolume)
{
    EXPECT_EQ(VolumeForSliderPosition(100), 0);
    EXPECT_EQ(VolumeForSliderPosition(0), -10000);
    EXPECT_EQ(VolumeForSliderPosition(75), -2500);
    EXPECT_EQ(SliderPositionForVolume(-2550), 74);
    EXPECT_EQ(SliderPositionForVolume(-2500), 75);
    EXPECT_EQ(SliderPositionForVolume(0), 100);
    EXPECT_EQ(SliderPositionForVolume(-10000), 0);
}

} // namespace
} // namespace orbela
