// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the number statement's conversion of any field, with
// either decimal separator, ends in a finite number or a failed conversion.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/number_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view field(reinterpret_cast<const char*>(data), size);
    for (char separator : {'.', ','}) {
        if (auto number = orbela::ConvertNumber(field, separator); number && std::isnan(*number))
            __builtin_trap();
    }
    return 0;
}
