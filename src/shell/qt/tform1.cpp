// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/tform1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

#include <array>
#include <exception>
#include <utility>

#include "i18n/guidance_strings.h"
#include "i18n/qt/control_facts.h"
#include "i18n/qt/keys_dialog.h"
#include "i18n/qt/qt_text.h"
#include "i18n/qt/taboutbox.h"
#include "i18n/qt/tform3.h"
#include "text/error.h"
#include "runtime/error_report.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "settings/configuration.h"
#include "shell/executable_path.h"
#include "shell/program_run.h"
#include "shell/qt/menu_keyboard.h"
#include "shell/qt/printmemo_mirror.h"
#include "shell/qt/process_end.h"
#include "shell/qt/startup_probe.h"
#include "shell/qt/tform1_sound.h"
#include "shell/ram_image.h"

namespace orbela {
namespace {

QAction* NewItem(QMenu* menu, const char* name, const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(QString());
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

} // namespace

TForm1::TForm1(Runtime& runtime, IniFile& configuration, ErrorReport& report, ProcessEnd& processEnd,
               std::filesystem::path executable, const TForm1Services& services, QWidget* parent)
    : QMainWindow(parent),
      runtime_(runtime),
      configuration_(configuration),
      report_(report),
      processEnd_(processEnd),
      startup_(runtime.State(), configuration, ramImage_, report, *this),
      executable_(std::move(executable)),
      speech_(services.speech),
      embeddedEngine_(services.embeddedEngine),
      braille_(services.braille),
      keys_(services.keys),
      soundDevice_(services.soundDevice)
{
    CreateControls();
    FormCreate();
}

TForm1::~TForm1()
{
    runtime_.GetScreen().SetObserver(nullptr);
}

void TForm1::CreateControls()
{
    setObjectName("TForm1");
    setWindowTitle("Basic interpreter");
    resize(500, 350);
    menuBar()->setNativeMenuBar(false);

    QMenu* program = menuBar()->addMenu(QString());
    Programmenu = program->menuAction();
    Programmenu->setObjectName("Programmenu");
    Startsubmenu = NewItem(program, "Startsubmenu", QKeySequence(Qt::CTRL | Qt::Key_S));
    exitsubmenu = NewItem(program, "exitsubmenu");

    QMenu* settings = menuBar()->addMenu(QString());
    settingsmenu = settings->menuAction();
    settingsmenu->setObjectName("settingsmenu");
    braillekeyboarditem = NewItem(settings, "braillekeyboarditem", QKeySequence(Qt::CTRL | Qt::Key_B));
    braillekeyboarditem->setCheckable(true);
    soundssubmenu = NewItem(settings, "soundssubmenu", QKeySequence(Qt::CTRL | Qt::Key_D));
    Voicesubmenu = NewItem(settings, "Voicesubmenu", QKeySequence(Qt::CTRL | Qt::Key_H));
    usesapi5submenu = NewItem(settings, "usesapi5submenu", QKeySequence(Qt::CTRL | Qt::Key_P));
    usesapi5submenu->setCheckable(true);
    usesapi5submenu->setVisible(false);
    environmentsubmenu = NewItem(settings, "environmentsubmenu", QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* help = menuBar()->addMenu(QString());
    helpmenu = help->menuAction();
    helpmenu->setObjectName("helpmenu");
    keyssubmenu = NewItem(help, "keyssubmenu", QKeySequence(Qt::Key_F1));
    aboutsubmenu = NewItem(help, "aboutsubmenu");

    // Voice is disabled by design until the settings allow it; Sounds waits
    // for its dialog.
    for (QAction* item : {soundssubmenu, Voicesubmenu})
        item->setEnabled(false);

    printmemo = new QPlainTextEdit(this);
    printmemo->setObjectName("printmemo");
    printmemo->setReadOnly(true);
    printmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    printmemo->setWordWrapMode(QTextOption::NoWrap);
    printmemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    printmemo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    printmemo->setTabChangesFocus(true);
    printmemo->installEventFilter(this);
    setCentralWidget(printmemo);

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    connect(Timer, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });

    connect(Startsubmenu, &QAction::triggered, this, [this] { Guarded([this] { StartsubmenuClick(); }); });
    connect(exitsubmenu, &QAction::triggered, this, [this] { Guarded([this] { exitsubmenuClick(); }); });
    connect(environmentsubmenu, &QAction::triggered, this,
            [this] { Guarded([this] { environmentsubmenuClick(); }); });
    connect(aboutsubmenu, &QAction::triggered, this, [this] { Guarded([this] { aboutsubmenuClick(); }); });
    connect(keyssubmenu, &QAction::triggered, this, [this] { Guarded([this] { keyssubmenuClick(); }); });
    connect(usesapi5submenu, &QAction::triggered, this, [this] { Guarded([this] { usesapi5submenuClick(); }); });
    connect(Voicesubmenu, &QAction::triggered, this, [this] { Guarded([this] { VoicesubmenuClick(); }); });
    connect(braillekeyboarditem, &QAction::triggered, this,
            [this] { Guarded([this] { braillekeyboarditemClick(); }); });
    connect(soundssubmenu, &QAction::triggered, this, [this] { Guarded([this] { soundssubmenuClick(); }); });

    new MenuKeyboard(*this, *menuBar());
}

void TForm1::FormCreate()
{
    startup_.Run();
}

void TForm1::FinishStartup()
{
    startup_.Finish();
}

void TForm1::Reached(const char* step)
{
    MarkStartupStep(step);
}

void TForm1::SetCaption()
{
    const QString program = QString::fromStdString(ExecutableCaptionName(executable_));
    setWindowTitle(program + " - " + LanguageText(runtime_.State().language, InterfaceString::ProductName));
    setAccessibleName(windowTitle());
    // What the program says as it opens, for a screen reader to read.
    const QString welcome = FromCp1250(GuidanceText(runtime_.State().language, GuidanceString::Welcome));
    setAccessibleDescription(welcome);
    printmemo->setAccessibleDescription(welcome);
    // The screen reader names the game's screen as the review does.
    printmemo->setAccessibleName(LanguageText(runtime_.State().language, InterfaceString::Screen));
}

void TForm1::SetMenuCaptions()
{
    const int language = runtime_.State().language;
    SetShownLanguage(*this, language);
    const std::array<std::pair<QAction*, QString>, 11> captions{{
        {Programmenu, LanguageText(language, InterfaceString::ProgramMenu)},
        {Startsubmenu, LanguageText(language, InterfaceString::StartItem)},
        {exitsubmenu, LanguageText(language, InterfaceString::ExitItem)},
        {settingsmenu, LanguageText(language, InterfaceString::SettingsMenu)},
        {Voicesubmenu, LanguageText(language, InterfaceString::VoiceItem) + "..."},
        {usesapi5submenu, LanguageText(language, InterfaceString::UseSapi5Item)},
        {environmentsubmenu, LanguageText(language, InterfaceString::EnvironmentItem) + "..."},
        {soundssubmenu, LanguageText(language, InterfaceString::SoundsItem) + "..."},
        {braillekeyboarditem, LanguageText(language, InterfaceString::BrailleKeyboardItem)},
        {helpmenu, LanguageText(language, InterfaceString::HelpMenu)},
        {aboutsubmenu, LanguageText(language, InterfaceString::AboutItem)},
    }};
    for (const auto& [item, caption] : captions) {
        item->setText(caption);
        if (item->menu())
            item->menu()->setTitle(caption);
    }
    keyssubmenu->setText(FromCp1250(GuidanceText(language, GuidanceString::KeysCaption)));
}

void TForm1::EmptyScreen()
{
    Screen& screen = runtime_.GetScreen();
    mirror_ = std::make_unique<PrintmemoMirror>(screen, *printmemo);
    screen.Clear();
    screen.SetObserver(mirror_.get());
    mirror_->Reset();
}

void TForm1::ShowEngineSwitch()
{
    usesapi5submenu->setVisible(true);
}

void TForm1::ShowMenuMarks(const MenuMarks& marks)
{
    usesapi5submenu->setChecked(marks.usesapi5);
    braillekeyboarditem->setChecked(marks.braillekeyboard);
}

void TForm1::SetDialogs(TForm3* environment, TAboutbox* about)
{
    environment_ = environment;
    about_ = about;
}

bool TForm1::Running() const
{
    return !Startsubmenu->isEnabled();
}

void TForm1::StartsubmenuClick()
{
    if (Running())
        return;
    // The game sounds from its first lines on.
    FinishStartup();
    // Restored afterwards as they were, so that commands not available
    // before the run stay unavailable after it.
    const std::array<QAction*, 6> commands{Startsubmenu,   soundssubmenu,   environmentsubmenu,
                                           Voicesubmenu, usesapi5submenu, helpmenu};
    std::array<bool, 6> enabled{};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        enabled[i] = commands[i]->isEnabled();
        commands[i]->setEnabled(false);
    }
    const auto restore = [&] {
        for (std::size_t i = 0; i < commands.size(); ++i)
            commands[i]->setEnabled(enabled[i]);
    };
    try {
        PrepareVoice();
        RunHostedProgram(runtime_);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TForm1::exitsubmenuClick()
{
    // Closing saves (closeEvent): one save, so one message when it fails.
    if (!Running()) {
        close();
        return;
    }
    SaveImage();
    FreeSounds();
    processEnd_.EndAtOnce();
}

void TForm1::EndProgramAtOnce()
{
    SaveImage();
    FreeSounds();
    processEnd_.EndAtOnce();
}

void TForm1::environmentsubmenuClick()
{
    if (environment_)
        environment_->ShowEnvironment();
}

void TForm1::aboutsubmenuClick()
{
    if (about_)
        about_->exec();
}

void TForm1::keyssubmenuClick()
{
    if (keysDialog_)
        keysDialog_->ShowKeys();
}

void TForm1::TimerTimer()
{
    runtime_.State().timerwait = false;
    Timer->stop();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    SaveImage();
    FreeSounds();
    if (Running()) {
        // The run pumps nested loops below this handler; it cannot be
        // unwound, so the process ends here.
        event->ignore();
        processEnd_.EndAtOnce();
        return;
    }
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (FormKeyEvent(event))
        return true;
    // The screen does not take Enter: it goes on to the window.
    if (watched == printmemo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::SaveImage()
{
    // Set before writing: the refusal's message runs a loop of its own, in
    // which a signal ends the program through here again.
    if (imageSaveTried_)
        return;
    imageSaveTried_ = true;
    try {
        ramImage_.Save(runtime_.State().ramimage);
    } catch (const Error& error) {
        report_.Report(error.what());
    }
}

template <typename Command>
void TForm1::Guarded(Command command)
{
    try {
        command();
    } catch (const std::exception& error) {
        report_.Report(error.what());
    }
}

} // namespace orbela
