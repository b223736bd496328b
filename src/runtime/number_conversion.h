// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number statement's conversion of a field to a 64-bit float, by the
// rules of the user's locale: an optional sign, digits, one decimal
// separator (LC_NUMERIC of the user's locale), digits and an optional
// exponent, the whole field and nothing else. Hexadecimal, "inf", "nan" and
// thousands separators are failed conversions.

#include <optional>
#include <string_view>

namespace orbela {

// The decimal separator of the user's locale (LC_NUMERIC of the environment),
// read once.
char LocaleDecimalSeparator();

// Converts with the given separator; nullopt on a failed conversion.
std::optional<double> ConvertNumber(std::string_view field, char decimalSeparator);
inline std::optional<double> ConvertNumber(std::string_view field)
{
    return ConvertNumber(field, LocaleDecimalSeparator());
}

} // namespace orbela
