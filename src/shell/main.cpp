// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the desktop window by default, the terminal front-end with
// --tty (or where the program was built without the desktop).

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "i18n/product_info.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "shell/data_files.h"
#include "shell/executable_path.h"
#include "shell/user_folders.h"
#include "shell/terminal/command_line.h"
#include "shell/terminal/terminal_frontend.h"
#ifdef ORBELA_HAVE_DESKTOP
#include "shell/qt/desktop.h"
#endif

namespace {

// The audio library reads the program's own settings (short mixing periods,
// for prompt key echo) unless the user names a settings file of their own.
void UseProgramAudioSettings()
{
    // It belongs to the program, not to the current directory: beside the
    // executable, else in the installed data folder.
    const auto executable = orbela::ExecutablePath();
    const std::vector<std::filesystem::path> folders{executable.parent_path(),
                                                     orbela::InstalledDataFolderFor(executable)};
    if (const auto settings = orbela::FindDataFileIn(folders, "alsoft.conf"))
        setenv("ALSOFT_CONF", settings->c_str(), /*overwrite=*/0);
}

// --help and --version: a text that did not reach standard output (a full
// disk, a closed pipe) is a failure, as GNU programs report it.
int PrintAndExit(const std::string& text)
{
    errno = 0;
    std::fputs(text.c_str(), stdout);
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    const int reason = errno;
    if (std::fclose(stdout) != 0 || failed) {
        std::fprintf(stderr, "orbela: write error%s%s\n", reason ? ": " : "", reason ? std::strerror(reason) : "");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A limit on file size fails the write that passes it (EFBIG), which a
    // save reports, instead of killing the program before it can say so.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string error;
    auto options = orbela::ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "orbela: %s\nTry 'orbela --help' for more information.\n", error.c_str());
        return 2;
    }
    if (options->help)
        return PrintAndExit(orbela::HelpText("orbela"));
    if (options->version)
        return PrintAndExit(orbela::VersionText());
    if (options->dataHome) {
        // A log named on the command line is where the user stood.
        std::error_code ignored;
        if (options->speechLog)
            options->speechLog = std::filesystem::absolute(*options->speechLog, ignored).string();
        try {
            orbela::EnterUserDataFolder(orbela::UserFolders::FromEnvironment());
        } catch (const orbela::Error& failure) {
#ifdef ORBELA_HAVE_DESKTOP
            // Started from the menu, nobody reads standard error.
            return orbela::ReportStartupFailure(argc, argv, *options, failure.what());
#else
            std::fprintf(stderr, "orbela: %s\n", orbela::Cp1250ToUtf8(failure.what()).c_str());
            return 1;
#endif
        }
    }
    UseProgramAudioSettings();
#ifdef ORBELA_HAVE_DESKTOP
    if (!options->tty)
        return orbela::RunDesktop(argc, argv, *options);
#endif
    return orbela::RunTerminal(*options);
}
