// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command-line options, shared by both front-ends, read as
// GNU programs read them (getopt_long): the program's own options first,
// then what is left goes to the desktop toolkit.

#include <optional>
#include <string>
#include <vector>

#include "speech/speech_policy.h"

namespace orbela {

// --braille-display: for this run only, over the configuration file's
// choice.
enum class BrailleDisplayOption { FromSettings, Auto, Off };

struct CommandLine {
    bool tty = false;      // run the terminal front-end
    bool help = false;
    bool version = false;
    // The terminal front-end speaks nothing.
    bool quiet = false;
    // Work in the per-user data folder ($XDG_DATA_HOME/orbela), as the
    // desktop entry starts the program.
    bool dataHome = false;
    // Every request the speech service hands to an engine is appended here.
    std::optional<std::string> speechLog;
    BrailleDisplayOption brailleDisplay = BrailleDisplayOption::FromSettings;
    // --speech-mode: overrides the settings' [speech] mode for this run.
    std::optional<SpeechMode> speechMode;
    // The desktop toolkit's own options with their values (e.g. -platform
    // offscreen), in their order.
    std::vector<std::string> rest;
};

// Nullopt with `error` set (without the program's name) for an unknown
// option, a missing or unwanted value, or a stray argument.
std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string& error);

std::string HelpText(const std::string& programName);

} // namespace orbela
