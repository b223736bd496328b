// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up work of the main window, in its fixed order, shared by the
// desktop and the terminal front-ends. The sequence owns the order and the
// core's part (the language, the start flags, the configuration, the memory
// image); a front-end does what only it can through StartupFrontEnd.
//
// It runs in two halves. Run: what must hold before the window is shown
// and the first key is read. Finish: the sound device and the sound list,
// which the first key does not need; a front-end calls it once its window
// is up and idle, and before anything that sounds (a run, the sound
// dialog, a switch's tones). Finish runs its steps once, whoever asks first.

#include "settings/configuration.h"

namespace orbela {

class ErrorReport;
class IniFile;
class RamImageFile;
struct RuntimeState;

// What a front-end does at each step; the defaults do nothing, for a
// front-end that has no such thing (the terminal has no menu, no sounds).
// Errors of a step that the front-end raises as Error go to the report and
// the sequence goes on.
class StartupFrontEnd {
public:
    virtual ~StartupFrontEnd() = default;

    // The caption, then the menu items' captions, in the current language.
    virtual void SetCaption() {}
    virtual void SetMenuCaptions() {}
    // The 24 empty screen rows.
    virtual void EmptyScreen() {}
    // The embedded engine installed in the speech service.
    virtual void CreateSpeechObjects() {}
    virtual void ShowEngineSwitch() {}
    // Whether the embedded engine is built in, whether or not it could
    // start this time: a first start allows voice when it is.
    virtual bool EmbeddedEngineExists() const = 0;
    // The configuration's check marks; then the engine flags set from them.
    virtual void ShowMenuMarks(const MenuMarks& /*marks*/) {}
    virtual void SetEngineFlags() {}
    // The sound device and the sound list on it (Finish).
    virtual void CreateSoundObjects() {}
    virtual void LoadBrailleTableFile() {}
    virtual void LoadCharacterNames() {}
    // The start has reached the named step (one word), for the start-up
    // benchmark's probe.
    virtual void Reached(const char* /*step*/) {}
};

class StartupSequence {
public:
    // Everything given must outlive the sequence.
    StartupSequence(RuntimeState& state, IniFile& configuration, RamImageFile& image, ErrorReport& report,
                    StartupFrontEnd& frontEnd);

    // The steps before the window is shown, in their order.
    void Run();
    // The steps left for after it; only the first call does them.
    void Finish();
    bool Finished() const { return finished_; }

private:
    void LoadCurrentLanguage();
    void SetStartFlags();
    void LoadSettings();
    void LoadMemoryImage();

    RuntimeState& state_;
    IniFile& configuration_;
    RamImageFile& image_;
    ErrorReport& report_;
    StartupFrontEnd& frontEnd_;
    bool finished_ = false;
};

} // namespace orbela
