// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the code-page conversions on any bytes. Windows-1250
// text survives the way to UTF-8 and back, except the five bytes the code
// page leaves undefined; any bytes as UTF-8 convert or raise orbela::Error.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/cp1250.h"
#include "text/error.h"

namespace {

bool Undefined(unsigned char byte)
{
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = orbela::Cp1250ToUtf8(bytes);
    const auto back = orbela::TryUtf8ToCp1250(utf8);
    bool anyUndefined = false;
    for (char c : bytes)
        anyUndefined = anyUndefined || Undefined(static_cast<unsigned char>(c));
    if (!anyUndefined && (!back || *back != bytes))
        __builtin_trap();

    try {
        const std::string converted = orbela::Utf8ToCp1250(bytes);
        if (converted.size() > bytes.size())
            __builtin_trap();
    } catch (const orbela::Error&) {
    }
    return orbela::Utf8ToCp1250Lossy(bytes).size() > bytes.size() ? 1 : 0;
}
