// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "runtime/number_conversion.h"

namespace orbela {
namespace {

TEST(ConvertNumberTest, AcceptsSignDigitsOneSeparatorAndExponent)
{
    struct Case {
        const char* field;
        char separator;
        double value;
    };
    const Case cases[] = {
        {"42", '.', 42.0}, {"-3", '.', -3.0}, {"+4", ',', 4.0}, {"2.5", '.', 2.5},
        {"-0,125", ',', -0.125}, {".5", '.', 0.5}, {"5,", ',', 5.0}, {"1e3", '.', 1000.0},
        {"1E-2", ',', 0.01}, {"-1.5e+2", '.', -150.0}, {"2,5E1", ',', 25.0}, {"007", '.', 7.0},
        {"0.1", '.', 0.1}, {"1.7976931348623157e308", '.', 1.7976931348623157e308},
        {"1e-400", '.', 0.0},  // too small to hold is zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertNumber(c.field, c.separator), c.value) << c.field << " with '" << c.separator << "'";
}

TEST(ConvertNumberTest, RejectsAnythingButTheWholeFieldAsANumber)
{
    const char* const rejected[] = {
        "", "+", "-", ".", "e5", "1e", "1e+", "1e5.5", "--1", "1..2", "1.2.3", "0x10", "inf",
        "-inf", "infinity", "nan", "1 000", "1.000,5", "1,000.5", " 1", "1 ", "12abc", "1e400",
        "-1e400", "1e99999999999999999999", "\"5\"",
    };
    for (const char* field : rejected) {
        EXPECT_EQ(ConvertNumber(field, '.'), std::nullopt) << "'" << field << "' with '.'";
        EXPECT_EQ(ConvertNumber(field, ','), std::nullopt) << "'" << field << "' with ','";
    }
    EXPECT_EQ(ConvertNumber("2.5", ','), std::nullopt);
    EXPECT_EQ(ConvertNumber("2,5", '.'), std::nullopt);
}

constexpr const char* LocaleFolderVariable = "ORBELA_TEST_LOCALE_FOLDER";

// A locale of nothing but a numeric category with "," as its separator, so
// that no installed locale is needed. A death-test child runs the test again
// from its start and finds the parent's folder through the environment.
std::filesystem::path BuildCommaLocale()
{
    if (const char* inherited = std::getenv(LocaleFolderVariable))
        return inherited;
    const auto folder = std::filesystem::temp_directory_path() / ("orbela-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "comma.src") << "LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                                           "thousands_sep \"<U0020>\"\ngrouping 3\nEND LC_NUMERIC\n";
    // localedef complains of the categories left out, and still writes.
    const std::string command = "localedef -c -i '" + (folder / "comma.src").string() + "' '"
        + (folder / "xx_COMMA").string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int ignored = std::system(command.c_str());
    return folder;
}

// The separator is read once per process, so each locale is tried in a
// child that exits with the separator's code, or 1 when the process's own
// locale was changed.
[[noreturn]] void SeparatorInChild()
{
    const char separator = LocaleDecimalSeparator();
    const bool globalUnchanged = std::string(std::setlocale(LC_NUMERIC, nullptr)) == "C"
        && std::string(std::localeconv()->decimal_point) == ".";
    std::_Exit(globalUnchanged ? static_cast<unsigned char>(separator) : 1);
}

TEST(LocaleDecimalSeparatorTest, ReadsTheUsersNumericLocaleOrFallsBackToAFullStop)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::setenv("LC_ALL", "zz_NOWHERE.UTF-8", 1);
    EXPECT_EXIT(SeparatorInChild(), ::testing::ExitedWithCode('.'), "");
    ::unsetenv("LC_ALL");

    const auto folder = BuildCommaLocale();
    if (!std::filesystem::exists(folder / "xx_COMMA" / "LC_NUMERIC")) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "localedef could not build a test locale";
    }
    ::setenv(LocaleFolderVariable, folder.c_str(), 1);
    ::setenv("LOCPATH", folder.c_str(), 1);
    ::setenv("LC_NUMERIC", "xx_COMMA", 1);
    EXPECT_EXIT(SeparatorInChild(), ::testing::ExitedWithCode(','), "");
    ::unsetenv("LC_NUMERIC");
    ::unsetenv("LOCPATH");
    ::unsetenv(LocaleFolderVariable);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace orbela
