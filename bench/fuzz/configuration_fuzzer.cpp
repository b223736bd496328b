// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the configuration file are read by the
// program's own reader, every key it asks for answers, and a value is
// never longer than a read may return.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto values = orbela::IniValues::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    long total = 0;
    for (auto [section, key] : {std::pair{"voice", "voiceallowed"}, {"sounds", "orbelasounds"},
                                {"sounds", "sndvolume"}, {"keyboard", "braillekeys"}, {"Voice", "sapi5"},
                                {"Voice", "pitch"}, {"Voice", "speed"}, {"Voice", "volume"},
                                {"environment", "language"}}) {
        total += values.ReadInteger(section, key, 7);
        total += values.ReadBool(section, key, true);
    }
    if (values.ReadString("Voice", "person", "").size() > orbela::MaxProfileStringLength)
        __builtin_trap();
    return total == -1 ? 1 : 0;
}
