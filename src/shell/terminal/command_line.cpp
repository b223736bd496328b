#include "shell/terminal/command_line.h"

#include <cstring>

namespace orbela {
namespace {

std::optional<BrailleDisplayOption> BrailleDisplayValue(const char* value)
{
    if (std::strcmp(value, "auto") == 0)
        return BrailleDisplayOption::Auto;
    if (std::strcmp(value, "off") == 0)
        return BrailleDisplayOption::Off;
    return std::nullopt;
}

} // namespace

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string& error)
{
    CommandLine options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--tty") == 0)
            options.tty = true;
        else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)
            options.help = true;
        else if (std::strcmp(arg, "--version") == 0)
            options.version = true;
        else if (std::strcmp(arg, "--quiet") == 0)
            options.quiet = true;
        else if (std::strcmp(arg, "--speech-log") == 0) {
            if (i + 1 >= argc) {
                error = "option '--speech-log' needs a file name";
                return std::nullopt;
            }
            options.speechLog = argv[++i];
        } else if (std::strncmp(arg, "--speech-log=", 13) == 0) {
            if (arg[13] == '\0') {
                error = "option '--speech-log' needs a file name";
                return std::nullopt;
            }
            options.speechLog = arg + 13;
        }
        else if (std::strcmp(arg, "--braille-display") == 0 || std::strncmp(arg, "--braille-display=", 18) == 0) {
            const char* value = arg[17] == '=' ? arg + 18 : (i + 1 < argc ? argv[++i] : "");
            const auto mode = BrailleDisplayValue(value);
            if (!mode) {
                error = "option '--braille-display' needs 'auto' or 'off'";
                return std::nullopt;
            }
            options.brailleDisplay = *mode;
        }
        else if (std::strncmp(arg, "--", 2) == 0) {
            error = std::string("unknown option '") + arg + "'";
            return std::nullopt;
        } else
            // Single-dash arguments belong to the desktop toolkit
            // (-platform offscreen, -style ...), with their values.
            options.rest.emplace_back(arg);
    }
    return options;
}

std::string HelpText(const std::string& programName)
{
    return "Usage: " + programName + " [OPTION]...\n"
           "A talking runtime that hosts the Czech text adventure kvaldor.\n"
           "Everything printed is spoken; input is typed line by line.\n"
           "\n"
           "  --tty        play in this terminal instead of the desktop window:\n"
           "               printed lines go to standard output, each input line\n"
           "               is read from standard input; end of input ends the\n"
           "               program\n"
           "  --quiet      with --tty: speak nothing\n"
           "  --speech-log FILE\n"
           "               append every text handed to a speech engine to FILE,\n"
           "               one UTF-8 line each: its kind (wait, queued,\n"
           "               character, stop), a colon and the text\n"
           "  --braille-display=auto|off\n"
           "               show the window on a braille display through BRLTTY\n"
           "               (auto: when one is there) or not, for this run\n"
           "  -h, --help   show this help and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "Run it from its folder: the data files are read from, and ram.dat is\n"
           "written to, the current directory. Settings live in the .ini file\n"
           "beside the executable.\n";
}

std::string VersionText()
{
    return "orbela 1.7\n";
}

} // namespace orbela
