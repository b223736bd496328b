#include "shell/terminal/command_line.h"

#include <cstring>

namespace orbela {

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
        else if (std::strcmp(arg, "--speech-mode") == 0 || std::strncmp(arg, "--speech-mode=", 14) == 0) {
            const char* value = arg[13] == '=' ? arg + 14 : (i + 1 < argc ? argv[++i] : "");
            options.speechMode = ParseSpeechMode(value);
            if (!options.speechMode) {
                error = "option '--speech-mode' takes auto, self or screenreader";
                return std::nullopt;
            }
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
           "  --speech-mode auto|self|screenreader\n"
           "               who speaks in the window: the program alone (self),\n"
           "               or only what a screen reader cannot read\n"
           "               (screenreader); auto follows whether the desktop's\n"
           "               screen reader runs (the default)\n"
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
