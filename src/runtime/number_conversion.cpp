// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/number_conversion.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace orbela {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The user's separator, read from a locale object of its own: the process's
// global locale stays "C", which the rest of the program relies on.
char ReadLocaleDecimalSeparator()
{
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0))
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    // A separator of more than one byte has no Windows-1250 form to type.
    const char separator = (radix && radix[0] != '\0' && radix[1] == '\0') ? radix[0] : '.';
    freelocale(numeric);
    return separator;
}

// from_chars reports overflow and underflow alike; strtod tells them apart
// (infinity, or zero and the subnormals).
double ConvertOutOfRange(const std::string& normal)
{
    static const locale_t plain = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    if (plain == static_cast<locale_t>(0))
        return HUGE_VAL;
    return strtod_l(normal.c_str(), nullptr, plain);
}

} // namespace

char LocaleDecimalSeparator()
{
    static const char separator = ReadLocaleDecimalSeparator();
    return separator;
}

std::optional<double> ConvertNumber(std::string_view field, char decimalSeparator)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) {
        negative = field[at] == '-';
        ++at;
    }
    const std::size_t integerStart = at;
    at = SkipDigits(field, at);
    std::size_t mantissaDigits = at - integerStart;
    std::size_t separatorAt = std::string_view::npos;
    if (at < field.size() && field[at] == decimalSeparator) {
        separatorAt = at;
        const std::size_t fractionStart = ++at;
        at = SkipDigits(field, at);
        mantissaDigits += at - fractionStart;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at < field.size() && (field[at] == 'e' || field[at] == 'E')) {
        ++at;
        if (at < field.size() && (field[at] == '+' || field[at] == '-'))
            ++at;
        const std::size_t exponentStart = at;
        at = SkipDigits(field, at);
        if (at == exponentStart)
            return std::nullopt;
    }
    if (at != field.size())
        return std::nullopt;

    // from_chars takes no "+" and only "." as the separator.
    std::string normal(field.substr(integerStart));
    if (separatorAt != std::string_view::npos)
        normal[separatorAt - integerStart] = '.';
    double value = 0.0;
    const char* begin = normal.data();
    const char* end = begin + normal.size();
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (stop != end)
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too small to hold becomes zero or the nearest tiny value; too
        // large to hold is no number at all.
        value = ConvertOutOfRange(normal);
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace orbela
