// Entry point: the desktop window by default, the terminal front-end with
// --tty (or where the program was built without the desktop).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/executable_path.h"
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
    std::error_code error;
    const auto settings = orbela::ExecutablePath().parent_path() / "alsoft.conf";
    if (std::filesystem::is_regular_file(settings, error))
        setenv("ALSOFT_CONF", settings.c_str(), /*overwrite=*/0);
}

} // namespace

int main(int argc, char** argv)
{
    UseProgramAudioSettings();
    std::string error;
    auto options = orbela::ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "orbela: %s\nTry 'orbela --help' for more information.\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(orbela::HelpText("orbela").c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(orbela::VersionText().c_str(), stdout);
        return 0;
    }
#ifdef ORBELA_HAVE_DESKTOP
    if (!options->tty)
        return orbela::RunDesktop(argc, argv, *options);
#endif
    return orbela::RunTerminal(*options);
}
