// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/terminal_frontend.h"

#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

#include "runtime/clock.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/speech_output.h"
#include "shell/executable_path.h"
#include "shell/user_folders.h"
#include "shell/program_run.h"
#include "shell/ram_image.h"
#include "shell/startup_sequence.h"
#include "shell/termination_notice.h"
#include "speech/speech_log.h"
#include "shell/terminal/interruptible_input.h"
#include "shell/terminal/terminal_dialog.h"
#include "shell/terminal/terminal_output.h"
#include "shell/terminal/terminal_speech.h"

namespace orbela {
namespace {

// Errors go to standard error in the terminal's encoding.
class StderrErrorReport final : public ErrorReport {
public:
    void Report(std::string_view cp1250Message) override
    {
        std::cout.flush();
        std::cerr << "orbela: " << Cp1250ToUtf8(cp1250Message) << std::endl;
    }
};

// The terminal's side of the main window's start-up: no window, no menu
// and no sounds; the sequence loads the language, the settings and the
// memory image.
class TerminalStartup final : public StartupFrontEnd {
public:
    explicit TerminalStartup(bool engineExists) : engineExists_(engineExists) {}
    bool EmbeddedEngineExists() const override { return engineExists_; }

private:
    bool engineExists_;
};

bool SaveImage(const Runtime& runtime, const RamImageFile& image, ErrorReport& report)
{
    try {
        image.Save(runtime.State().ramimage);
        return true;
    } catch (const Error& error) {
        report.Report(error.what());
        return false;
    }
}

} // namespace

int RunTerminal(const CommandLine& options)
{
    // A closed standard output must not kill the process before it saves:
    // the failed write is reported instead.
    std::signal(SIGPIPE, SIG_IGN);
    // Made first and so removed last, after every object of the run.
    TerminationNotice termination;
    StderrErrorReport report;
    Screen screen;
    InterruptibleInput standardInput(STDIN_FILENO, termination.Descriptor());
    std::istream input(&standardInput);
    TerminalDialog dialog(input, report);
    SilentSpeech speech;
    InterruptibleClock clock(termination.Descriptor());
    Runtime runtime(screen, dialog, speech, clock);
    TerminalOutput output(std::cout);
    runtime.SetPrintListener(&output);

    // The engine exists before the configuration is read: a first start
    // allows voice when it does.
    std::unique_ptr<TerminalSpeech> speaking;
    if (!options.quiet) {
        speaking = std::make_unique<TerminalSpeech>(runtime.State());
        // A signal ends the wait for a spoken line as it ends a pause.
        speaking->Events().WatchNotice(termination.Descriptor());
    }
    IniFile configuration(ConfigurationPath());
    RamImageFile image;
    // Whether the engine exists is whether it is built in: neither a missing
    // sound device nor --quiet may store voice off for every later start.
    TerminalStartup frontEnd(static_cast<bool>(InstalledSpeechEngines().embedded));
    StartupSequence(runtime.State(), configuration, image, report, frontEnd).Run();
    if (speaking) {
        if (options.speechLog) {
            try {
                speaking->Service().SetLog(std::make_unique<SpeechLog>(*options.speechLog));
            } catch (const Error& error) {
                report.Report(error.what());
            }
        }
        if (const auto missing = speaking->ApplySettings(configuration, report)) {
            report.Report(*missing);
            return 1;
        }
        runtime.SetSpeech(speaking->Service());
    }

    try {
        RunHostedProgram(runtime);
    } catch (const EndOfInput&) {
        // End of input or a termination signal, as the dialog's
        // end-program button: the image is written below.
    } catch (const Error& error) {
        report.Report(error.what());
    }
    std::cout.flush();
    // Output to a closed pipe or a full device is reported, and the image
    // is still written.
    const bool shown = static_cast<bool>(std::cout);
    if (!shown)
        report.Report("Unable to write to standard output");
    const bool saved = SaveImage(runtime, image, report);
    if (termination.Signal() != 0)
        return 128 + termination.Signal();
    return saved && shown ? 0 : 1;
}

} // namespace orbela
