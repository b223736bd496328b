// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's windows over a runtime on a virtual clock, in a folder of
// their own that is also the current directory. A run is played by a
// script of lines typed into the real data-entry dialog.

#include <gtest/gtest.h>

#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "i18n/qt/taboutbox.h"
#include "i18n/qt/tform3.h"
#include "keyboard/qt/tform2.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"
#include "settings/ini_file.h"
#include "shell/qt/process_end.h"
#include "shell/qt/tform1.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela::testing {

// Forwards to the real dialog; before each showing it arranges the next
// step of the script. An empty script ends the run with ScriptExhausted.
class PlayerDialog final : public InputDialog {
public:
    struct Step {
        QString line;                  // typed, then Enter
        std::function<void()> before;  // run while the dialog is shown, before typing
    };

    void Attach(TForm2& dialog) { dialog_ = &dialog; }
    void Type(const QString& line, std::function<void()> before = {}) { steps_.push_back({line, std::move(before)}); }

    void ClearField() override { dialog_->ClearField(); }
    int ShowModal() override;
    std::string FieldText() const override { return dialog_->FieldText(); }

    int Shown() const { return shown_; }

private:
    TForm2* dialog_ = nullptr;
    std::deque<Step> steps_;
    int shown_ = 0;
};

// Records what is spoken and lets a test look at the screen at that moment.
class WatchingSpeech final : public SpeechOutput {
public:
    void SpeakAndWait(std::string_view cp1250Text) override
    {
        spoken.emplace_back(cp1250Text);
        if (onSpeak)
            onSpeak(spoken.back());
    }
    std::vector<std::string> spoken;
    std::function<void(const std::string&)> onSpeak;
};

class RecordingEnd final : public ProcessEnd {
public:
    void EndAtOnce() override
    {
        ++calls;
        std::error_code ignored;
        ramSizeAtEnd = std::filesystem::file_size(RamFile, ignored);
        if (ignored)
            ramSizeAtEnd = 0;
    }
    int calls = 0;
    std::uintmax_t ramSizeAtEnd = 0;
    inline static const std::filesystem::path RamFile = "ram.dat";
};

class DesktopTest : public ::testing::Test {
protected:
    DesktopTest();
    ~DesktopTest() override;

    void Configure(const std::string& iniText) { WriteBytes(folder / "orbela.ini", iniText); }
    // Creates the windows in their order, as the program does.
    void Create(const std::filesystem::path& executable);
    void Create() { Create(folder / "orbela"); }
    // Shows the main window and waits until it is the active window.
    void ShowActive();

    // The rows of the screen as the memo shows them.
    std::vector<QString> MemoRows() const;
    // The number of the screen row that reads `text` padded with blanks,
    // last match; -1 when none does.
    int RowReading(const std::string& cp1250Text) const;

    TempFolder folder;
    std::filesystem::path previousDirectory;
    Screen screen;
    PlayerDialog player;
    WatchingSpeech speech;
    VirtualClock clock;
    Runtime runtime{screen, player, speech, clock};
    IniFile configuration{folder / "orbela.ini"};
    RecordingErrorReport report;
    RecordingEnd end;
    std::unique_ptr<TForm1> form1;
    TForm2* form2 = nullptr;
    TForm3* form3 = nullptr;
    TAboutbox* aboutbox = nullptr;
};

} // namespace orbela::testing
