// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as GNU programs read it: the program's own options in
// long and short forms, errors for anything unknown, and the toolkit's own
// options passed on untouched.

#include "shell/terminal/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace orbela {
namespace {

struct Parsed {
    std::optional<CommandLine> options;
    std::string error;
};

Parsed Parse(std::initializer_list<std::string> arguments)
{
    std::vector<std::string> words{"orbela"};
    words.insert(words.end(), arguments);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    Parsed parsed;
    parsed.options = ParseCommandLine(static_cast<int>(words.size()), argv.data(), parsed.error);
    return parsed;
}

TEST(CommandLine, ReadsEveryOptionInItsLongAndShortForms)
{
    Parsed parsed = Parse({"--tty", "--quiet", "--speech-log", "talk.txt", "--data-home"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_TRUE(parsed.options->tty);
    EXPECT_TRUE(parsed.options->quiet);
    EXPECT_TRUE(parsed.options->dataHome);
    EXPECT_EQ(parsed.options->speechLog, std::optional<std::string>("talk.txt"));
    EXPECT_FALSE(parsed.options->help);
    EXPECT_TRUE(parsed.options->rest.empty());

    parsed = Parse({"--speech-log=a b.txt"});
    ASSERT_TRUE(parsed.options);
    EXPECT_FALSE(parsed.options->quiet);
    EXPECT_EQ(parsed.options->speechLog, std::optional<std::string>("a b.txt"));

    for (const auto& words : {std::vector<std::string>{"-h"}, {"--help"}, {"--he"}}) {
        parsed = Parse({words[0]});
        ASSERT_TRUE(parsed.options) << words[0];
        EXPECT_TRUE(parsed.options->help) << words[0];
    }
    for (const auto& word : {"-V", "--version", "--vers"}) {
        parsed = Parse({word});
        ASSERT_TRUE(parsed.options) << word;
        EXPECT_TRUE(parsed.options->version) << word;
    }
    parsed = Parse({"-hV"});
    ASSERT_TRUE(parsed.options);
    EXPECT_TRUE(parsed.options->help && parsed.options->version);
}

TEST(CommandLine, UnknownOptionsMissingOrUnwantedValuesAndStrayWordsAreErrors)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"-x"}, "invalid option -- 'x'"},
        {{"-hx"}, "invalid option -- 'x'"},
        {{"-xh"}, "invalid option -- 'x'"},
        {{"--tty", "-q"}, "invalid option -- 'q'"},
        {{"--bogus"}, "unrecognized option '--bogus'"},
        {{"--bogus=1"}, "unrecognized option '--bogus'"},
        {{"--tty=yes"}, "option '--tty' doesn't allow an argument"},
        {{"--help=me"}, "option '--help' doesn't allow an argument"},
        {{"--speech-log"}, "option '--speech-log' requires an argument"},
        {{"--speech-log="}, "option '--speech-log' needs a file name"},
        {{"game.bas"}, "unexpected argument 'game.bas'"},
        {{"--", "--tty"}, "unexpected argument '--tty'"},
        {{"-platform"}, "option '-platform' requires an argument"},
    };
    for (const auto& [words, message] : cases) {
        std::vector<char*> argv{const_cast<char*>("orbela")};
        std::vector<std::string> copy = words;
        for (std::string& word : copy)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::string error;
        EXPECT_FALSE(ParseCommandLine(static_cast<int>(argv.size()) - 1, argv.data(), error)) << words[0];
        EXPECT_EQ(error, message) << words[0];
    }
}

TEST(CommandLine, TheToolkitsOwnOptionsPassOnWithTheirValuesInOrder)
{
    Parsed parsed = Parse({"-platform", "offscreen", "--speech-log", "log.txt", "-reverse", "-style=fusion"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->rest, (std::vector<std::string>{"-platform", "offscreen", "-reverse", "-style=fusion"}));
    EXPECT_EQ(parsed.options->speechLog, std::optional<std::string>("log.txt"));

    // A toolkit option's value is not read as one of the program's options.
    parsed = Parse({"-qwindowtitle", "--tty"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_FALSE(parsed.options->tty);
    EXPECT_EQ(parsed.options->rest, (std::vector<std::string>{"-qwindowtitle", "--tty"}));
}

TEST(CommandLine, HelpNamesEveryOption)
{
    const std::string help = HelpText("orbela");
    for (const char* option : {"--tty", "--quiet", "--speech-log=FILE", "--data-home", "--braille-display=auto|off",
                               "--speech-mode", "-h, --help", "-V, --version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

TEST(CommandLine, BrailleDisplayTakesAutoOrOffAndNothingElse)
{
    const auto parse = [](std::vector<std::string> words, std::string& error) {
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), error);
    };
    std::string error;
    auto options = parse({"orbela"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->brailleDisplay, BrailleDisplayOption::FromSettings) << "the settings file decides";
    options = parse({"orbela", "--braille-display=off"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->brailleDisplay, BrailleDisplayOption::Off);
    options = parse({"orbela", "--braille-display", "auto", "-platform", "offscreen"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->brailleDisplay, BrailleDisplayOption::Auto);
    EXPECT_EQ(options->rest.size(), 2u) << "the value is not left for the toolkit";
    EXPECT_FALSE(parse({"orbela", "--braille-display"}, error));
    EXPECT_EQ(error, "option '--braille-display' requires an argument");
    for (const auto& words : {std::vector<std::string>{"orbela", "--braille-display=on"},
                              std::vector<std::string>{"orbela", "--braille-display="}}) {
        error.clear();
        EXPECT_FALSE(parse(words, error));
        EXPECT_EQ(error, "option '--braille-display' needs 'auto' or 'off'");
    }
    EXPECT_NE(HelpText("orbela").find("--braille-display=auto|off"), std::string::npos);
}

} // namespace
} // namespace orbela
