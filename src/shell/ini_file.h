// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The configuration file: an ini file whose section and key names match
// without regard to letter case. Every operation opens the file, reads or
// writes, and closes it; nothing is cached. A write replaces the file
// through a temporary file beside it, so a failed write never leaves it
// truncated. Values are Windows-1250 text, kept byte for byte.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/profile_integer.h"

namespace orbela {

// The longest text value a read returns.
inline constexpr std::size_t MaxProfileStringLength = 2047;

class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }
    bool Exists() const;

    // Missing file, section or key, or a value that is not an integer: the
    // default. Decimal with optional sign; "0x"/"0X" (value longer than two
    // characters) and "$" prefixes are hexadecimal.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // True for any integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // At most 2047 characters of the value.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Each raises Error "Unable to write to <full path>" when the file cannot
    // be written; the file is then left as it was.
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path path_;
};

} // namespace orbela
