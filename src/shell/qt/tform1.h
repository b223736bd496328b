#pragma once
// The main window: the 24-row screen, the menu, Program/Start, and the ways
// in which a run and the process end.

#include <QMainWindow>

#include <filesystem>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace orbela {

class ErrorReport;
class IniFile;
class PrintmemoMirror;
class ProcessEnd;
class Runtime;
class TAboutbox;
class TForm3;

class TForm1 final : public QMainWindow {
    Q_OBJECT

public:
    // Everything given must outlive the window. `executable` is the
    // program's full path (the caption is made from it). The creation
    // handler runs here, before any other window exists.
    TForm1(Runtime& runtime, IniFile& configuration, ErrorReport& report, ProcessEnd& processEnd,
           std::filesystem::path executable, QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows created after this one, reached by its menu commands.
    void SetDialogs(TForm3* environment, TAboutbox* about);

    // Program/Start: runs the hosted program; returns when it has ended.
    void StartsubmenuClick();
    // Program/Exit.
    void exitsubmenuClick();
    void environmentsubmenuClick();
    void aboutsubmenuClick();
    void TimerTimer();

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
    QAction* braillekeyboarditem = nullptr;
    QAction* usesapi5submenu = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    // The creation handler's steps, in their order.
    void LoadCurrentLanguage();
    void SetCaption();
    void SetMenuCaptions();
    void EmptyScreen();
    void SetStartFlags();
    void ShowEngineSwitch();
    void LoadSettings();
    void LoadMemoryImage();

    // Writes "ram.dat"; a failure is reported and false returned.
    bool SaveImage();
    // Runs `command`, sending an error that escapes it to the report.
    template <typename Command>
    void Guarded(Command command);

    Runtime& runtime_;
    IniFile& configuration_;
    ErrorReport& report_;
    ProcessEnd& processEnd_;
    const std::filesystem::path executable_;
    std::unique_ptr<PrintmemoMirror> mirror_;
    TForm3* environment_ = nullptr;
    TAboutbox* about_ = nullptr;
};

} // namespace orbela
