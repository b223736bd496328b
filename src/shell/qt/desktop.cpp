// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/desktop.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "i18n/guidance_strings.h"
#include "i18n/qt/keys_dialog.h"
#include "i18n/qt/message_box.h"
#include "i18n/qt/qt_text.h"
#include "i18n/qt/taboutbox.h"
#include "i18n/qt/tform3.h"
#include "keyboard/braille_table.h"
#include "keyboard/key_state.h"
#include "keyboard/qt/auto_repeat.h"
#include "keyboard/qt/tform2.h"
#include "keyboard/qt/tform6.h"
#include "keyboard/qt/virtual_key.h"
#include "runtime/clock.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "runtime/runtime.h"
#include "runtime/runtime_state.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"
#include "settings/configuration.h"
#include "shell/early_start.h"
#include "shell/executable_path.h"
#include "shell/user_folders.h"
#include "settings/ini_file.h"
#include "settings/speech_settings.h"
#include "settings/voice_settings.h"
#include "shell/termination_notice.h"
#include "shell/qt/caret_blink_timeout.h"
#include "shell/qt/deferred_input_dialog.h"
#include "shell/qt/message_box_error_report.h"
#include "shell/qt/orbela_application.h"
#include "shell/qt/process_end.h"
#include "shell/qt/qt_message_pump.h"
#include "shell/qt/qt_pause_clock.h"
#include "shell/qt/screen_dump.h"
#include "shell/qt/screen_reader_key_relay.h"
#include "shell/qt/interface_speech.h"
#include "shell/qt/speech_mode_control.h"
#include "shell/qt/startup_probe.h"
#include "shell/qt/termination_watch.h"
#include "shell/qt/tform1.h"
#include "sound/openal_device.h"
#include "sound/qt/tform5.h"
#include "speech/qt/qt_echo_timer.h"
#include "speech/qt/qt_gui_thread_poster.h"
#include "speech/qt/tform4.h"
#include "speech/speech_log.h"
#include "speech/speech_service.h"
#ifdef ORBELA_HAVE_ESPEAK
#include "speech/espeak/espeak_engine.h"
#endif
#ifdef ORBELA_HAVE_SPEECHD
#include "speech/speechd/speechd_engine.h"
#endif
#include "shell/terminal/terminal_frontend.h"
#ifdef ORBELA_HAVE_BRAILLE
#include <QAction>
#include <QMenu>
#include <QPointer>

#include "settings/braille_display_setting.h"
#include "braille/qt/braille_menu_item.h"
#include "braille/qt/braille_session.h"
#endif

namespace orbela {

namespace {

// Whether the toolkit can open a window: a display, or a platform chosen on
// purpose (for example offscreen).
bool WindowsPossible(const CommandLine& options)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    for (const std::string& argument : options.rest) {
        if (argument == "-platform" || argument.rfind("-platform=", 0) == 0)
            return true;
    }
    return false;
}

// The toolkit removes a launcher's start-up token from the environment
// while the application object is made; a thread reading the environment
// meanwhile (the audio and speech libraries all do as they start) could
// miss a variable, so with a token set the engines start after it.
bool ToolkitEditsEnvironment()
{
    for (const char* token : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"}) {
        if (std::getenv(token) != nullptr)
            return true;
    }
    return false;
}

// The toolkit sees the program's name and the arguments left for it.
class ToolkitArguments {
public:
    ToolkitArguments(int argc, char** argv, const CommandLine& options)
        : arguments_{argc > 0 ? argv[0] : "orbela"}
    {
        arguments_.insert(arguments_.end(), options.rest.begin(), options.rest.end());
        for (std::string& argument : arguments_)
            argv_.push_back(argument.data());
        argv_.push_back(nullptr);
        argc_ = static_cast<int>(arguments_.size());
    }
    int& Argc() { return argc_; }
    char** Argv() { return argv_.data(); }

private:
    std::vector<std::string> arguments_;
    std::vector<char*> argv_;
    int argc_ = 0;
};

} // namespace

int ReportStartupFailure(int argc, char** argv, const CommandLine& options, const std::string& cp1250Message)
{
    std::fprintf(stderr, "orbela: %s\n", Cp1250ToUtf8(cp1250Message).c_str());
    if (!WindowsPossible(options) || options.tty)
        return 1;
    ToolkitArguments toolkit(argc, argv, options);
    OrbelaApplication application(toolkit.Argc(), toolkit.Argv());
    QGuiApplication::setDesktopFileName("org.orbela.Orbela");
    // The voice the main window would have: the embedded engine, in the
    // settings' language, unless the settings switch voice off or a screen
    // reader reads the box.
    RuntimeState state;
    IniFile configuration(ConfigurationPath());
    state.language = ReadLanguage(configuration);
    state.voiceallowed = ReadVoiceAllowed(configuration);
    QtMessagePump pump;
    QtGuiThreadPoster poster;
    SpeechService speechService(state, pump);
    if (options.speechLog) {
        try {
            speechService.SetLog(std::make_unique<SpeechLog>(*options.speechLog));
        } catch (const Error&) {
            // The failure itself is what must be heard.
        }
    }
#ifdef ORBELA_HAVE_ESPEAK
    try {
        speechService.SetEngine(EngineSlot::Embedded, std::make_unique<EspeakEngine>(poster));
    } catch (const Error&) {
        // Shown without a voice.
    }
#endif
    SpeechModeControl speechMode(speechService, configuration, state.language, options.speechMode);
    ShowMessage(nullptr, FromCp1250(cp1250Message), MessageKind::Error);
    return 1;
}

int RunDesktop(int argc, char** argv, const CommandLine& options)
{
    if (!WindowsPossible(options)) {
        std::fputs("No display found: starting the terminal front-end (orbela --tty).\n", stderr);
        return RunTerminal(options);
    }
    MarkStartupStep("main");
    ToolkitArguments toolkit(argc, argv, options);

    // A server gone from under a socket (BRLTTY stopped while the display is
    // written) must not end the game unsaved: the failed write is handled.
    std::signal(SIGPIPE, SIG_IGN);
    // Join the accessibility bus whatever the desktop says at start: Qt
    // decides once, so a screen reader started later could not read the
    // window otherwise. A value the user set is kept.
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", /*overwrite=*/0);
    // Made first and so removed last, after every object of the run.
    TerminationNotice termination;
    // Declared before the service: the engines it owns post through it.
    QtGuiThreadPoster poster;
    // The engines take a while to start (the embedded one loads its voice
    // data and opens its audio output; the system one connects to its
    // daemon): both begin beside the making of the application and the
    // window, and the steps that install them take what they made, errors
    // included. Neither touches the toolkit until it posts.
#ifdef ORBELA_HAVE_ESPEAK
    std::optional<EarlyStart<std::unique_ptr<SpeechEngine>>> embeddedEngine;
#endif
#ifdef ORBELA_HAVE_SPEECHD
    std::optional<EarlyStart<std::unique_ptr<SpeechdEngine>>> systemEngine;
#endif
    const auto startEngines = [&] {
#ifdef ORBELA_HAVE_ESPEAK
        embeddedEngine.emplace(
            [&poster]() -> std::unique_ptr<SpeechEngine> { return std::make_unique<EspeakEngine>(poster); });
#endif
#ifdef ORBELA_HAVE_SPEECHD
        systemEngine.emplace([&poster] { return std::make_unique<SpeechdEngine>(poster); });
#endif
    };
    const bool startBeforeToolkit = !ToolkitEditsEnvironment();
    if (startBeforeToolkit)
        startEngines();
    OrbelaApplication application(toolkit.Argc(), toolkit.Argv());
    if (!startBeforeToolkit)
        startEngines();
    // Lets the desktop match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName("org.orbela.Orbela");
    MessageBoxErrorReport report;
    application.SetErrorReport(&report);
    // Owned by the application, so it outlives every window.
    auto* keyRelay = new ScreenReaderKeyRelay(&application);
    application.SetKeyRelay(keyRelay);
    MarkStartupStep("application");

    Screen screen;
    DeferredInputDialog dialog;
    SilentSpeech speech;
    // The game's pauses keep the window answering; input waits for their end.
    QtPauseClock clock(application);
    Runtime runtime(screen, dialog, speech, clock);
    // Everything printed is spoken through the speech service; its engines
    // are installed by the main window's creation.
    QtMessagePump pump;
    SpeechService speechService(runtime.State(), pump);
    runtime.SetSpeech(speechService);
    // Tones wait on the message loop; a key's echo sounds its tones without
    // waiting, moved on by its own timer.
    runtime.SetMessagePump(pump);
    QtEchoTimer echoTimer;
    speechService.SetEchoTones(
        {[&runtime](const std::vector<double>& pitches, double waveset, double length) {
             return runtime.StartTone(pitches, waveset, length);
         },
         [&runtime](const SoundingTone& tone) { runtime.StopTone(tone); }},
        &echoTimer);
    if (options.speechLog) {
        try {
            speechService.SetLog(std::make_unique<SpeechLog>(*options.speechLog));
        } catch (const Error& error) {
            report.Report(error.what());
        }
    }
    TForm1Services services;
    services.speech = &speechService;
    // Every key press and release passes the key state first, so the
    // handlers read the keys as they were at their own event.
    KeyStateTable keys;
    application.installEventFilter(new KeyStateFilter(keys, &application));
    // A held key sends repeated presses and one release.
    EnableHeldKeyRepeat(application);
    // An idle field's caret stops blinking after 10 s, as on the desktop.
    new CaretBlinkTimeout(10000, &application);
    BrailleTable braille;
    services.braille = &braille;
    services.keys = &keys;
    services.soundDevice = [] { return OpenAlDevice::Open(); };
#ifdef ORBELA_HAVE_ESPEAK
    services.embeddedEngine = [&embeddedEngine] { return embeddedEngine->Take(); };
#endif

    const std::filesystem::path executable = ExecutablePath();
    IniFile configuration(ConfigurationPath());
    // Decided before the first window, so that its start-up messages are
    // spoken, or left to a screen reader, already.
    SpeechModeControl speechMode(speechService, configuration, runtime.State().language, options.speechMode);
    keyRelay->SetWanted([found = QPointer<SpeechModeControl>(&speechMode)] {
        return found && found->ScreenReaderRunning();
    });
    QuickExit quickExit([&screen] { WriteScreenDumpIfAsked(screen); });
    // Watching before the main window is made: its creation may wait for
    // the answer to a message, and a signal must end the program there too.
    TerminationWatch terminationWatch(termination.Descriptor(), report, quickExit);
    MarkStartupStep("speech-mode");

    // The windows in their order; the dialogs belong to the main window.
    TForm1 form1(runtime, configuration, report, quickExit, executable, services);
    terminationWatch.SetMainWindow(&form1);
    MarkStartupStep("main-window");
    auto* form2 = new TForm2(runtime.State().language, &form1);
    form2->SetEndProgramHandler([&form1] { form1.EndProgramAtOnce(); });
    dialog.Attach(*form2);
    auto* form3 = new TForm3(configuration, runtime.State().language, &form1);
    TForm4::Services voiceServices{&speechService, &configuration, &runtime.State(), &report, {}, [&quickExit] {
                                       quickExit.EndAtOnce();
                                   }};
#ifdef ORBELA_HAVE_SPEECHD
    // Beside a screen reader the program speaks through this service too;
    // its priority decides whether the screen reader's speech cuts ours.
    const auto priority = ParseSpeechdPriority(ReadSpeechSettings(configuration).priority)
                              .value_or(SpeechdPriority::Message);
    voiceServices.connectSystemVoice = [&systemEngine, priority] {
        auto engine = systemEngine->Take();
        engine->SetPriority(priority);
        return engine;
    };
#endif
    // Filled once the window is up (below), off the window's path.
    voiceServices.fillVoiceListLater = true;
    auto* form4 = new TForm4(std::move(voiceServices), &form1);
    form1.SetVoiceDialog(form4);
    TForm5::VoiceFacts voiceFacts{
        [&speechService] { return speechService.Engine(EngineSlot::Embedded) != nullptr; },
        [&speechService] { return speechService.Flags().usesapi5; }};
    auto* form5 = new TForm5(runtime, configuration, std::move(voiceFacts), &form1);
    form5->SetSwitchVoiceOn([form4] { return form4->SwitchVoiceOn(); });
    form1.SetSoundDialog(form5);
    auto* form6 = new TForm6(runtime, &speechService, &form1);
    form1.SetVirtualScreen(form6);
    form2->SetServices({&runtime, &speechService, &keys, &braille, [form6] { form6->OpenVirtualScreen(); }});
    auto* aboutbox = new TAboutbox(runtime.State().language, &form1);
    form1.SetDialogs(form3, aboutbox);
    auto* keysDialog = new KeysDialog(runtime.State().language, &form1);
    form1.SetKeysDialog(keysDialog);
    MarkStartupStep("dialogs");
#ifdef ORBELA_HAVE_BRAILLE
    // The braille display, when BRLTTY runs: quietly absent otherwise.
    BrailleSession brailleDisplay(runtime, {&form1, form2, form6});
    const bool brailleOn = options.brailleDisplay == BrailleDisplayOption::FromSettings
                               ? ReadBrailleDisplaySetting(configuration) == BrailleDisplaySetting::Auto
                               : options.brailleDisplay == BrailleDisplayOption::Auto;
    AddBrailleDisplayItem(*form1.settingsmenu->menu(), brailleDisplay, configuration, report,
                          runtime.State().language);
    // Beside a screen reader, its braille shows the program's windows: the
    // program does not take the display from it.
    brailleDisplay.SetYieldsToScreenReader(
        [&speechMode] { return speechMode.Policy().Effective() == SpeechMode::ScreenReader; });
    QObject::connect(&speechMode, &SpeechModeControl::EffectiveModeChanged, &brailleDisplay,
                     &BrailleSession::FollowScreenReader);
    brailleDisplay.SetEnabled(brailleOn);
    // An end at once leaves no destructor to hand the display back.
    quickExit.AddLastStep([&brailleDisplay] { brailleDisplay.Close(); });
#endif

    speechMode.AttachMainWindow(form1, *form1.settingsmenu->menu());
    for (QWidget* dialog : std::initializer_list<QWidget*>{form3, form4, form5, aboutbox, keysDialog})
        speechMode.Interface().WatchDialog(*dialog);

    form1.show();
    ArmStartupProbe(form1);
    // Once the window is up, a newcomer hears what it is and how to begin.
    QTimer::singleShot(0, &form1, [&speechMode, &runtime, form4, form1 = &form1] {
        speechMode.Interface().Say(GuidanceText(runtime.State().language, GuidanceString::Welcome));
        MarkStartupStep("greeting");
        // After the greeting, so that the voices the engine goes on to try
        // come after it.
        form4->FillVoiceListIfAllowed();
        MarkStartupStep("voice-list");
        // The sounds load while the greeting is spoken; a key that needs
        // them before (Ctrl+S, a switch's tones) loads them itself.
        QTimer::singleShot(0, form1, [form1] { form1->FinishStartup(); });
    });
    application.exec();
    WriteScreenDumpIfAsked(screen);
    return 0;
}

} // namespace orbela
