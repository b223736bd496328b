#include "shell/qt/desktop.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "i18n/qt/taboutbox.h"
#include "i18n/qt/tform3.h"
#include "keyboard/qt/tform2.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"
#include "shell/executable_path.h"
#include "shell/ini_file.h"
#include "shell/qt/deferred_input_dialog.h"
#include "shell/qt/message_box_error_report.h"
#include "shell/qt/orbela_application.h"
#include "shell/qt/process_end.h"
#include "shell/qt/qt_message_pump.h"
#include "shell/qt/screen_dump.h"
#include "shell/qt/startup_probe.h"
#include "shell/qt/tform1.h"
#include "speech/speech_service.h"
#include "shell/terminal/terminal_frontend.h"

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

} // namespace

int RunDesktop(int argc, char** argv, const CommandLine& options)
{
    if (!WindowsPossible(options)) {
        std::fputs("No display found: starting the terminal front-end (orbela --tty).\n", stderr);
        return RunTerminal(options);
    }
    // The toolkit sees the program's name and the arguments left for it.
    std::vector<std::string> arguments{argc > 0 ? argv[0] : "orbela"};
    arguments.insert(arguments.end(), options.rest.begin(), options.rest.end());
    std::vector<char*> toolkitArgv;
    for (std::string& argument : arguments)
        toolkitArgv.push_back(argument.data());
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(arguments.size());

    OrbelaApplication application(toolkitArgc, toolkitArgv.data());
    MessageBoxErrorReport report;
    application.SetErrorReport(&report);

    Screen screen;
    DeferredInputDialog dialog;
    SilentSpeech speech;
    SystemClock clock;
    Runtime runtime(screen, dialog, speech, clock);
    // Everything printed is spoken through the speech service; its engines
    // are installed by the main window's creation.
    QtMessagePump pump;
    SpeechService speechService(runtime.State(), pump);
    runtime.SetSpeech(speechService);

    const std::filesystem::path executable = ExecutablePath();
    IniFile configuration(ConfigurationPathFor(executable));
    QuickExit quickExit([&screen] { WriteScreenDumpIfAsked(screen); });

    // The windows in their order; the dialogs belong to the main window.
    TForm1 form1(runtime, configuration, report, quickExit, executable);
    auto* form2 = new TForm2(runtime.State().language, &form1);
    form2->SetEndProgramHandler([&form1] { form1.EndProgramAtOnce(); });
    dialog.Attach(*form2);
    auto* form3 = new TForm3(configuration, runtime.State().language, &form1);
    auto* aboutbox = new TAboutbox(runtime.State().language, &form1);
    form1.SetDialogs(form3, aboutbox);

    form1.show();
    ArmStartupProbe(form1);
    application.exec();
    WriteScreenDumpIfAsked(screen);
    return 0;
}

} // namespace orbela
