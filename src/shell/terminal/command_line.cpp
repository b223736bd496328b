// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/terminal/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string_view>

namespace orbela {
namespace {

// Short options are their own characters; every long option has an id
// above the character range, so an error tells which form was typed.
enum OptionId : int {
    HelpShortId = 'h',
    VersionShortId = 'V',
    TtyId = 256,
    QuietId,
    SpeechLogId,
    DataHomeId,
    BrailleDisplayId,
    SpeechModeId,
    HelpId,
    VersionId,
};
constexpr int FirstLongId = TtyId;

// The program's own options. A new option is one row here, one case in
// ApplyOption and its lines in HelpText.
constexpr option LongOptions[] = {
    {"tty", no_argument, nullptr, TtyId},
    {"quiet", no_argument, nullptr, QuietId},
    {"speech-log", required_argument, nullptr, SpeechLogId},
    {"data-home", no_argument, nullptr, DataHomeId},
    {"braille-display", required_argument, nullptr, BrailleDisplayId},
    {"speech-mode", required_argument, nullptr, SpeechModeId},
    {"help", no_argument, nullptr, HelpId},
    {"version", no_argument, nullptr, VersionId},
    {nullptr, 0, nullptr, 0},
};
// Leading ':' reports a missing value apart from an unknown option.
constexpr const char* ShortOptions = ":hV";

// The desktop toolkit's command-line options (single dash, as it documents
// them), taken out before the program's own options are read.
struct ToolkitOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<ToolkitOption, 16> ToolkitOptions{{
    {"-platform", true}, {"-platformpluginpath", true}, {"-platformtheme", true}, {"-plugin", true},
    {"-style", true}, {"-stylesheet", true}, {"-session", true}, {"-display", true},
    {"-geometry", true}, {"-qwindowgeometry", true}, {"-qwindowtitle", true}, {"-qwindowicon", true},
    {"-reverse", false}, {"-nograb", false}, {"-dograb", false}, {"-widgetcount", false},
}};

const ToolkitOption* FindToolkitOption(std::string_view argument)
{
    // "-platform=offscreen" carries its value.
    const std::string_view name = argument.substr(0, argument.find('='));
    const auto found = std::find_if(ToolkitOptions.begin(), ToolkitOptions.end(),
                                    [name](const ToolkitOption& option) { return option.name == name; });
    return found == ToolkitOptions.end() ? nullptr : &*found;
}

std::string LongName(int id)
{
    for (const option& entry : LongOptions) {
        if (entry.name && entry.val == id)
            return entry.name;
    }
    return {};
}

// The message for getopt_long's '?' or ':'. A failed long option is always
// the word before `optind` (unknown long options have the id 0).
std::string OptionError(int result, int failedOption, const char* argument)
{
    const bool isLong = failedOption == 0 || failedOption >= FirstLongId;
    if (result == ':') {
        if (isLong)
            return "option '--" + LongName(failedOption) + "' requires an argument";
        return std::string("option requires an argument -- '") + static_cast<char>(failedOption) + "'";
    }
    if (isLong) {
        const std::string_view word(argument);
        const std::string_view name = word.substr(0, word.find('='));
        if (failedOption != 0)
            return "option '" + std::string(name) + "' doesn't allow an argument";
        const auto matches = std::count_if(std::begin(LongOptions), std::end(LongOptions), [name](const option& entry) {
            return entry.name && std::string_view(entry.name).starts_with(name.substr(2));
        });
        if (matches > 1)
            return "option '" + std::string(name) + "' is ambiguous";
        return "unrecognized option '" + std::string(name) + "'";
    }
    return std::string("invalid option -- '") + static_cast<char>(failedOption) + "'";
}

} // namespace

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string& error)
{
    CommandLine options;
    // getopt_long permutes what it is given: it gets a copy holding the
    // program's name and everything that is not the toolkit's.
    std::vector<char*> own{argc > 0 ? argv[0] : const_cast<char*>("orbela")};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            own.insert(own.end(), argv + i, argv + argc);
            break;
        }
        const ToolkitOption* toolkit = FindToolkitOption(argv[i]);
        if (!toolkit) {
            own.push_back(argv[i]);
            continue;
        }
        options.rest.emplace_back(argv[i]);
        const bool valueAttached = std::strchr(argv[i], '=') != nullptr;
        if (toolkit->takesValue && !valueAttached) {
            if (i + 1 >= argc) {
                error = "option '" + std::string(toolkit->name) + "' requires an argument";
                return std::nullopt;
            }
            options.rest.emplace_back(argv[++i]);
        }
    }
    own.push_back(nullptr);

    // 0 starts getopt afresh, so the parser can be called more than once.
    optind = 0;
    opterr = 0;
    const int count = static_cast<int>(own.size()) - 1;
    int result;
    while ((result = getopt_long(count, own.data(), ShortOptions, LongOptions, nullptr)) != -1) {
        switch (result) {
        case TtyId:
            options.tty = true;
            break;
        case QuietId:
            options.quiet = true;
            break;
        case DataHomeId:
            options.dataHome = true;
            break;
        case SpeechLogId:
            if (*optarg == '\0') {
                error = "option '--speech-log' needs a file name";
                return std::nullopt;
            }
            options.speechLog = optarg;
            break;
        case BrailleDisplayId:
            if (std::strcmp(optarg, "auto") == 0) {
                options.brailleDisplay = BrailleDisplayOption::Auto;
            } else if (std::strcmp(optarg, "off") == 0) {
                options.brailleDisplay = BrailleDisplayOption::Off;
            } else {
                error = "option '--braille-display' needs 'auto' or 'off'";
                return std::nullopt;
            }
            break;
        case SpeechModeId:
            options.speechMode = ParseSpeechMode(optarg);
            if (!options.speechMode) {
                error = "option '--speech-mode' takes auto, self or screenreader";
                return std::nullopt;
            }
            break;
        case HelpId:
        case HelpShortId:
            options.help = true;
            break;
        case VersionId:
        case VersionShortId:
            options.version = true;
            break;
        default:
            error = OptionError(result, optopt, own[optind - 1]);
            return std::nullopt;
        }
    }
    if (optind < count) {
        error = std::string("unexpected argument '") + own[optind] + "'";
        return std::nullopt;
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
           "  --speech-log=FILE\n"
           "               append every text handed to a speech engine to FILE,\n"
           "               one UTF-8 line each: its kind (wait, queued,\n"
           "               character, stop), a colon and the text\n"
           "  --data-home  keep ram.dat and data.dta in $XDG_DATA_HOME/orbela\n"
           "               (default ~/.local/share/orbela) instead of the current\n"
           "               directory; the desktop menu entry starts it so\n"
           "  --braille-display=auto|off\n"
           "               show the window on a braille display through BRLTTY\n"
           "               (auto: when one is there) or not, for this run\n"
           "  --speech-mode auto|self|screenreader\n"
           "               who speaks in the window: the program alone (self),\n"
           "               or only what a screen reader cannot read\n"
           "               (screenreader); auto follows whether the desktop's\n"
           "               screen reader runs (the default)\n"
           "  -h, --help   show this help and exit\n"
           "  -V, --version\n"
           "               show the version and exit\n"
           "\n"
           "The desktop toolkit's own options (-platform NAME, -style NAME, ...)\n"
           "are passed on to it.\n"
           "\n"
           "Data files (sounds.dat, czech.ebt, *.eky) are read from the current\n"
           "directory, else from the installed data folder. ram.dat is read from\n"
           "and written to the current directory. Settings live in orbela.ini\n"
           "beside the executable for a copy run from its own folder that may\n"
           "write there; an installed or read-only copy keeps them in\n"
           "$XDG_CONFIG_HOME/orbela/orbela.ini (default ~/.config).\n";
}

} // namespace orbela
