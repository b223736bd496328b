// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/profile_integer.h"

#include <climits>

namespace orbela {
namespace {

std::optional<int> ParseDigits(std::string_view digits, int base, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    long long magnitude = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        // One past INT_MAX still fits a negative int.
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<int> ParseProfileInteger(std::string_view value)
{
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        return ParseDigits(value.substr(2), 16, false);
    if (!value.empty() && value[0] == '$')
        return ParseDigits(value.substr(1), 16, false);
    bool negative = false;
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) {
        negative = value[0] == '-';
        value.remove_prefix(1);
    }
    return ParseDigits(value, 10, negative);
}

} // namespace orbela
