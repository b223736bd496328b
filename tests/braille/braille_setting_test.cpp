// SPDX-License-Identifier: GPL-3.0-or-later
// The braille display's setting in the configuration file.

#include <gtest/gtest.h>

#include <filesystem>

#include "braille/braille_setting.h"
#include "i18n/resource_localizer.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

TEST(BrailleSetting, AbsentOrUnknownValuesMeanAutoAndOffIsKept)
{
    testing::TempFolder folder;
    IniFile file(folder.Path() / "orbela.ini");
    EXPECT_EQ(ReadBrailleDisplaySetting(file), BrailleDisplaySetting::Auto) << "no file yet";
    WriteBrailleDisplaySetting(file, BrailleDisplaySetting::Off);
    EXPECT_EQ(ReadBrailleDisplaySetting(IniFile(folder.Path() / "orbela.ini")), BrailleDisplaySetting::Off);
    file.WriteString("braille", "display", "sometimes");
    EXPECT_EQ(ReadBrailleDisplaySetting(file), BrailleDisplaySetting::Auto);
    EXPECT_EQ(ParseBrailleDisplaySetting("off"), BrailleDisplaySetting::Off);
    EXPECT_FALSE(ParseBrailleDisplaySetting("OFF"));
}

TEST(BrailleSetting, CaptionInEachLanguage)
{
    EXPECT_EQ(BrailleDisplayCaption(LanguageEnglish), "Braille &display");
    EXPECT_EQ(BrailleDisplayCaption(LanguageCzech), "Braillský řá&dek");
    EXPECT_EQ(BrailleDisplayCaption(LanguageSlovak), "Braillovský ria&dok");
}

} // namespace
} // namespace orbela
