// SPDX-License-Identifier: GPL-3.0-or-later
// The voice and speech records against files written the way earlier
// versions wrote them.

#include <gtest/gtest.h>

#include "settings/ini_file.h"
#include "settings/speech_settings.h"
#include "settings/voice_settings.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(VoiceSettings, ReadsWhatEarlierFilesHoldAndWritesTheSameKeys)
{
    TempFolder folder;
    const auto path = folder.Path() / "orbela.ini";
    IniFile file(path);
    const VoiceChoice none = ReadVoiceChoice(file);
    EXPECT_EQ(none.person, "");
    EXPECT_EQ(none.volume, 255) << "no file: the engine's full volume";
    EXPECT_TRUE(ReadVoiceAllowed(file));
    EXPECT_FALSE(ReadUsesSystemVoice(file.Load()));
    EXPECT_EQ(ReadSpeechSettings(file).mode, "auto");
    EXPECT_EQ(ReadSpeechSettings(file).priority, "message");

    WriteBytes(path, "[voice]\r\nvoiceallowed=0\r\n[VOICE]\r\nsapi5=1\r\nPerson=Jakub \x9a\r\npitch=-3\r\n"
                     "speed=$10\r\n[Speech]\r\nmode=off\r\npriority=text\r\n");
    IniFile again(path);
    const VoiceChoice read = ReadVoiceChoice(again);
    EXPECT_EQ(read.person, "Jakub \x9a") << "Windows-1250 kept byte for byte";
    EXPECT_EQ(read.pitch, -3);
    EXPECT_EQ(read.speed, 16);
    EXPECT_EQ(read.volume, 255);
    EXPECT_FALSE(ReadVoiceAllowed(again));
    EXPECT_TRUE(ReadUsesSystemVoice(again.Load()));
    EXPECT_EQ(ReadSpeechSettings(again).mode, "off");
    EXPECT_EQ(ReadSpeechSettings(again).priority, "text");

    WriteVoiceChoice(again, {"Eva", 4, -2, 100});
    WriteUsesSystemVoice(again, false);
    WriteSpeechMode(again, "on");
    EXPECT_FALSE(ReadUsesSystemVoice(IniFile(path).Load()));
    EXPECT_FALSE(ReadVoiceAllowed(IniFile(path))) << "the switch is its own key";
    const VoiceChoice written = ReadVoiceChoice(IniFile(path));
    EXPECT_EQ(written.person, "Eva");
    EXPECT_EQ(written.pitch, 4);
    EXPECT_EQ(written.speed, -2);
    EXPECT_EQ(written.volume, 100);
    EXPECT_EQ(ReadSpeechSettings(IniFile(path)).mode, "on");
}

} // namespace
} // namespace orbela
