// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the 24-row screen, the menu, Program/Start, and the ways
// in which a run and the process end.

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "shell/ram_image.h"
#include "shell/startup_sequence.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace orbela {

class AudioDevice;
class BrailleTable;
class ErrorReport;
class IniFile;
class KeyState;
class PrintmemoMirror;
class ProcessEnd;
class Runtime;
class SpeechEngine;
class SpeechService;
class KeysDialog;
class TAboutbox;
class TForm3;
class TForm1Sound;
class TForm4;
class TForm5;
class TForm6;

// What the creation handler needs beyond the core, made before the window
// because the handler runs in its constructor. Members left null are not
// used.
struct TForm1Services {
    // The creation handler installs the embedded engine made by
    // `embeddedEngine` into the speech service; a factory that raises, or
    // none, leaves the engine absent.
    SpeechService* speech = nullptr;
    std::function<std::unique_ptr<SpeechEngine>()> embeddedEngine;
    // Filled from "czech.ebt" by the creation handler.
    BrailleTable* braille = nullptr;
    // The key state of the message being handled, for the keys held with
    // Up and Down.
    const KeyState* keys = nullptr;
    // Opens the sound device of the sound step; one that raises gives a
    // message and a silent program. None skips the sound steps.
    std::function<std::unique_ptr<AudioDevice>()> soundDevice;
};

class TForm1 final : public QMainWindow, private StartupFrontEnd {
    Q_OBJECT

public:
    // Everything given must outlive the window. `executable` is the
    // program's full path (the caption is made from it). The creation
    // handler runs here, before any other window exists.
    TForm1(Runtime& runtime, IniFile& configuration, ErrorReport& report, ProcessEnd& processEnd,
           std::filesystem::path executable, const TForm1Services& services = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up steps left for after the window is shown (the sound
    // device and list): call once it is up and idle. The commands that
    // sound call it first themselves; only the first call does the work.
    void FinishStartup();

    // The windows created after this one, reached by its menu commands.
    void SetDialogs(TForm3* environment, TAboutbox* about);
    void SetVoiceDialog(TForm4* voice) { voice_ = voice; }
    void SetKeysDialog(KeysDialog* keys) { keysDialog_ = keys; }
    void SetVirtualScreen(TForm6* screen) { virtualScreen_ = screen; }
    void SetSoundDialog(TForm5* sound);

    // Program/Start: runs the hosted program; returns when it has ended.
    void StartsubmenuClick();
    // Program/Exit.
    void exitsubmenuClick();
    void environmentsubmenuClick();
    void aboutsubmenuClick();
    // Help/Keys (F1): the list of keys.
    void keyssubmenuClick();
    void usesapi5submenuClick();
    void VoicesubmenuClick();
    void TimerTimer();
    void braillekeyboarditemClick();
    void soundssubmenuClick();

    // The data-entry dialog's end-program button and Alt+F4 there: write
    // "ram.dat" and end the process at once.
    void EndProgramAtOnce();

    bool Running() const;

    QAction* Programmenu = nullptr;
    QAction* Startsubmenu = nullptr;
    QPlainTextEdit* printmemo = nullptr;
    QAction* settingsmenu = nullptr;
    QAction* environmentsubmenu = nullptr;
    QAction* Voicesubmenu = nullptr;
    QAction* soundssubmenu = nullptr;
    QTimer* Timer = nullptr;
    QAction* exitsubmenu = nullptr;
    QAction* helpmenu = nullptr;
    QAction* aboutsubmenu = nullptr;
    QAction* keyssubmenu = nullptr;
    QAction* braillekeyboarditem = nullptr;
    QAction* usesapi5submenu = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    // The creation handler's steps that only the window can do, in the
    // order StartupSequence calls them.
    void SetCaption() override;
    void SetMenuCaptions() override;
    void EmptyScreen() override;
    void CreateSpeechObjects() override;
    void ShowEngineSwitch() override;
    bool EmbeddedEngineExists() const override;
    void ShowMenuMarks(const MenuMarks& marks) override;
    void SetEngineFlags() override;
    // The sound device and the sound list from "sounds.dat".
    void CreateSoundObjects() override;
    void LoadBrailleTableFile() override;
    void LoadCharacterNames() override;
    void Reached(const char* step) override;
    // The two tones of a switch (chord keyboard, engine), rising or falling.
    void SwitchTones(double first, double second);
    void LoadSounds();
    void FreeSounds();
    // The window previews its controls' keys; true when the key is used up.
    bool FormKeyEvent(QEvent* event);
    void FormKeyDown(int virtualKey, Qt::KeyboardModifiers modifiers);
    // Program/Start's voice preparation, before the hosted program runs.
    void PrepareVoice();

    // Writes "ram.dat" on the way out; a failure is reported. Only the first
    // call writes: a signal while the refusal's message waits, or a second
    // way out, must not write or ask again.
    void SaveImage();
    // Runs `command`, sending an error that escapes it to the report.
    template <typename Command>
    void Guarded(Command command);

    Runtime& runtime_;
    IniFile& configuration_;
    ErrorReport& report_;
    ProcessEnd& processEnd_;
    RamImageFile ramImage_;
    StartupSequence startup_;
    const std::filesystem::path executable_;
    bool imageSaveTried_ = false;
    std::unique_ptr<PrintmemoMirror> mirror_;
    TForm3* environment_ = nullptr;
    TAboutbox* about_ = nullptr;
    KeysDialog* keysDialog_ = nullptr;
    SpeechService* speech_ = nullptr;
    std::function<std::unique_ptr<SpeechEngine>()> embeddedEngine_;
    TForm4* voice_ = nullptr;
    BrailleTable* braille_ = nullptr;
    const KeyState* keys_ = nullptr;
    TForm6* virtualScreen_ = nullptr;
    std::function<std::unique_ptr<AudioDevice>()> soundDevice_;
    std::unique_ptr<TForm1Sound> sound_;
    TForm5* soundDialog_ = nullptr;
};

} // namespace orbela
