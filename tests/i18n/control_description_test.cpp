// SPDX-License-Identifier: GPL-3.0-or-later
// The words the program adds to a control's label, in the three languages,
// and the access-key marks that are never said; the same facts on a braille
// display.
#include "i18n/control_description.h"

#include <gtest/gtest.h>

#include "i18n/resource_localizer.h"
#include "support/fakes.h"

namespace orbela {
namespace {

using testing::Cp;

TEST(ControlDescription, AccessKeyMarksGoAndADoubledOneIsAnAmpersand)
{
    EXPECT_EQ(WithoutAccessKey("Vo&lume"), "Volume");
    EXPECT_EQ(WithoutAccessKey("&Voices"), "Voices");
    EXPECT_EQ(WithoutAccessKey("Sounds && &speech"), "Sounds & speech");
    EXPECT_EQ(WithoutAccessKey("&&&&"), "&&");
    EXPECT_EQ(WithoutAccessKey("trailing&"), "trailing");
}

TEST(ControlDescription, RolesAndStatesComeInTheWindowsLanguage)
{
    ControlFacts box;
    box.label = Cp("Povolit hlas");
    box.role = ControlRole::CheckBox;
    box.checked = true;
    EXPECT_EQ(DescribeControl(box, LanguageCzech), Cp("Povolit hlas, zaškrtávací políčko, zaškrtnuto"));
    box.label = "Use the voice";
    box.checked = false;
    EXPECT_EQ(DescribeControl(box, LanguageEnglish), "Use the voice, check box, not checked");
    box.label = Cp("Povoliť hlas");
    EXPECT_EQ(DescribeControl(box, LanguageSlovak), Cp("Povoliť hlas, začiarkavacie políčko, nezačiarknuté"));

    ControlFacts slider;
    slider.label = "Volume";
    slider.role = ControlRole::Slider;
    slider.value = "40";
    EXPECT_EQ(DescribeControl(slider, LanguageEnglish), "Volume, slider, 40");
    ControlFacts item;
    item.label = "Start";
    item.shortcut = "Ctrl+S";
    item.available = false;
    EXPECT_EQ(DescribeControl(item, LanguageEnglish), "Start, Ctrl+S, unavailable");
    // A language without a table gets English words.
    EXPECT_EQ(DescribeGroup("Language", 1500), "Language, group");
    EXPECT_EQ(DescribeWindow(Cp("Nastavení zvuků"), LanguageCzech), Cp("Nastavení zvuků, dialog"));
    EXPECT_EQ(EngineNoticeText(EngineNotice::EmbeddedVoiceSpeaks, LanguageEnglish),
              "The system speech service cannot speak; the embedded voice speaks instead.");
}

// On a braille display: Orca's indicators first, no role words, the
// shortcut in parentheses, the unavailable state in the window's language.
TEST(ControlDescription, BrailleShowsTheStateAsTheScreenReadersBrailleDoes)
{
    ControlFacts radio;
    radio.label = "English";
    radio.role = ControlRole::RadioButton;
    radio.checked = false;
    EXPECT_EQ(BrailleControl(radio, LanguageEnglish), "& y English");
    radio.checked = true;
    EXPECT_EQ(BrailleControl(radio, LanguageEnglish), "&=y English");
    ControlFacts item;
    item.label = "Start";
    item.shortcut = "Ctrl+S";
    item.available = false;
    EXPECT_EQ(BrailleControl(item, LanguageCzech), Cp("Start (Ctrl+S) nedostupné"));
    item.checked = true;
    item.available = true;
    EXPECT_EQ(BrailleControl(item, LanguageCzech), "<x> Start (Ctrl+S)");
}

} // namespace
} // namespace orbela
