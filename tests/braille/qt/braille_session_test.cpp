// SPDX-License-Identifier: GPL-3.0-or-later
// Without BRLTTY the display output stays silent and out of the way; the
// menu item switches it and keeps the choice in the settings file.

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <cstdlib>

#include "braille/braille_setting.h"
#include "braille/qt/braille_menu_item.h"
#include "braille/qt/braille_session.h"
#include "i18n/resource_localizer.h"
#include "keyboard_fixture.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"

namespace orbela::testing {
namespace {

using ::testing::ElementsAre;

class BrailleSessionTest : public KeyboardWindowsTest {
protected:
    BrailleSessionTest()
    {
        // A BrlAPI socket no server listens on.
        setenv("BRLAPI_HOST", ":197", 1);
    }
    ~BrailleSessionTest() override { unsetenv("BRLAPI_HOST"); }

    QWidget mainWindow;
    TempFolder folder;
    IniFile configuration{folder.Path() / "orbela.ini"};
    RecordingErrorReport report;
};

TEST_F(BrailleSessionTest, WithoutBrlttyNothingIsSaidAndPrintingGoesOn)
{
    BrailleSession session(runtime, {&mainWindow, dialog.get(), virtualScreen.get()});
    session.SetEnabled(true);
    EXPECT_TRUE(session.Enabled());
    EXPECT_FALSE(session.Connected());
    runtime.Print("still printing", 0);
    EXPECT_EQ(screen.Row(0).substr(0, 14), "still printing");
    EXPECT_THAT(Heard(), ElementsAre("say:still printing")) << "the line is spoken as ever, and nothing else";
    EXPECT_TRUE(report.messages.empty());
}

TEST_F(BrailleSessionTest, MenuItemSwitchesTheDisplayAndKeepsTheChoice)
{
    BrailleSession session(runtime, {&mainWindow, dialog.get(), virtualScreen.get()});
    session.SetEnabled(true);
    QMenu settings;
    QAction* item = AddBrailleDisplayItem(settings, session, configuration, report, LanguageEnglish);
    EXPECT_EQ(item->text(), "Braille &display");
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(session.Enabled());
    EXPECT_EQ(ReadBrailleDisplaySetting(IniFile(folder.Path() / "orbela.ini")), BrailleDisplaySetting::Off);
    item->trigger();
    EXPECT_TRUE(session.Enabled());
    EXPECT_EQ(ReadBrailleDisplaySetting(IniFile(folder.Path() / "orbela.ini")), BrailleDisplaySetting::Auto);
    EXPECT_TRUE(report.messages.empty());
}

} // namespace
} // namespace orbela::testing
