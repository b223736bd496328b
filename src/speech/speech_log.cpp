// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_log.h"

#include <string>

#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {

std::string_view SpeechRequestKindName(SpeechRequestKind kind)
{
    switch (kind) {
    case SpeechRequestKind::Wait: return "wait";
    case SpeechRequestKind::Queued: return "queued";
    case SpeechRequestKind::Character: return "character";
    case SpeechRequestKind::Stop: return "stop";
    }
    return "?";
}

SpeechLog::SpeechLog(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "ab"))
{
    if (!file_)
        throw Error("Unable to write to " + Utf8ToCp1250Lossy(std::filesystem::absolute(path).string()));
}

void SpeechLog::Record(SpeechRequestKind kind, std::string_view utf8Text)
{
    std::string line(SpeechRequestKindName(kind));
    if (!utf8Text.empty())
        line += ": ";
    for (const char c : utf8Text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            line += "\\x";
            line += Hex[byte >> 4];
            line += Hex[byte & 0xF];
        } else {
            line += c;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), file_.get());
    std::fflush(file_.get());
}

} // namespace orbela
