// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A transcript of what the speech service hands to an engine: one UTF-8
// line per request, "<kind>: <text>" (just "<kind>" when there is no text),
// appended to a file and flushed at once, so that it is complete even when
// the program ends abruptly. Line breaks, tabs and other control characters
// inside a text are written as "\r", "\n", "\t" or "\xHH", and a backslash
// as "\\", so that every request stays on its own line.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace orbela {

enum class SpeechRequestKind { Wait, Queued, Character, Stop };

std::string_view SpeechRequestKindName(SpeechRequestKind kind);

class SpeechLog {
public:
    // Opens the file for appending; raises Error "Unable to write to
    // <path>" when it cannot be opened.
    explicit SpeechLog(const std::filesystem::path& path);

    void Record(SpeechRequestKind kind, std::string_view utf8Text);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};

} // namespace orbela
