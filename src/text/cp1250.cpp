// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp1250.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

#include "text/error.h"

namespace orbela {
namespace {

// One conversion descriptor per direction and thread; iconv_t is not safe to
// share between threads, and engines call back on threads of their own.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can. On an unconvertible or invalid sequence,
    // returns false with `in` left at the offending byte.
    bool Run(std::string_view& in, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        while (!in.empty()) {
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& ToUtf8()
{
    thread_local Converter converter("UTF-8", "CP1250");
    return converter;
}

Converter& FromUtf8()
{
    thread_local Converter converter("CP1250", "UTF-8");
    return converter;
}

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// Whether `text` starts with one well-formed UTF-8 character: no stray
// continuation byte, no cut sequence, no overlong form, no surrogate, nothing
// beyond U+10FFFF.
bool StartsWithValidUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return true;
    if (lead < 0xC2 || lead > 0xF4)
        return false;
    const std::size_t length = Utf8SequenceLength(lead);
    if (text.size() < length)
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return false;
    }
    const unsigned char second = byte(1);
    if (lead == 0xE0 && second < 0xA0)
        return false;
    if (lead == 0xED && second >= 0xA0)
        return false;
    if (lead == 0xF0 && second < 0x90)
        return false;
    return !(lead == 0xF4 && second >= 0x90);
}

std::string HexBytes(std::string_view bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        shown += "\\x";
        shown += hex[value >> 4];
        shown += hex[value & 15];
    }
    return shown;
}

} // namespace

std::string Cp1250ToUtf8(std::string_view cp1250)
{
    std::string out;
    out.reserve(cp1250.size() + cp1250.size() / 4);
    Converter& converter = ToUtf8();
    if (!converter.Valid())
        throw Error("The Windows-1250 code page is not available");
    while (!converter.Run(cp1250, out)) {
        out += "\xEF\xBF\xBD";
        cp1250.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> TryUtf8ToCp1250(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    Converter& converter = FromUtf8();
    if (!converter.Valid())
        throw Error("The Windows-1250 code page is not available");
    if (!converter.Run(utf8, out))
        return std::nullopt;
    return out;
}

std::string Utf8ToCp1250(std::string_view utf8)
{
    std::string out;
    Converter& converter = FromUtf8();
    if (!converter.Valid())
        throw Error("The Windows-1250 code page is not available");
    std::string_view rest = utf8;
    if (converter.Run(rest, out))
        return out;
    const std::string position = std::to_string(utf8.size() - rest.size());
    // Text typed or saved in another encoding (raw Windows-1250 bytes, say)
    // is told apart from a real character that this code page lacks.
    if (!StartsWithValidUtf8(rest))
        throw Error("The byte " + HexBytes(rest.substr(0, 1)) + " at byte " + position + " is not valid UTF-8");
    const std::size_t length = std::min(Utf8SequenceLength(static_cast<unsigned char>(rest.front())), rest.size());
    // The message names the character in ASCII, since it has no form here.
    throw Error("The character " + HexBytes(rest.substr(0, length)) + " at byte " + position +
                " has no Windows-1250 form");
}

std::string Utf8ToCp1250Lossy(std::string_view utf8)
{
    std::string out;
    Converter& converter = FromUtf8();
    if (!converter.Valid())
        return std::string(utf8);
    while (!converter.Run(utf8, out)) {
        out += '?';
        utf8.remove_prefix(std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8.front())), utf8.size()));
    }
    return out;
}

} // namespace orbela
