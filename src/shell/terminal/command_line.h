#pragma once
// The program's command-line options, shared by both front-ends.

#include <optional>
#include <string>
#include <vector>

#include "speech/speech_policy.h"

namespace orbela {

struct CommandLine {
    bool tty = false;      // run the terminal front-end
    bool help = false;
    bool version = false;
    // The terminal front-end speaks nothing.
    bool quiet = false;
    // Every request the speech service hands to an engine is appended here.
    std::optional<std::string> speechLog;
    // --speech-mode: overrides the settings' [speech] mode for this run.
    std::optional<SpeechMode> speechMode;
    // Arguments left for the desktop toolkit (e.g. -platform offscreen).
    std::vector<std::string> rest;
};

// Nullopt with `error` set for an unknown option or a missing value.
std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string& error);

std::string HelpText(const std::string& programName);
std::string VersionText();

} // namespace orbela
