// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The configuration file: an ini file whose section and key names match
// without regard to letter case. Every operation opens the file, reads or
// writes, and closes it; nothing is cached between operations, but an
// operation that reads several keys takes one IniValues and reads them all
// from it, so the file is parsed once. A write replaces the file
// through a temporary file beside it, so a failed write never leaves it
// truncated. Values are Windows-1250 text, kept byte for byte.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/profile_integer.h"

namespace orbela {

// The longest text value a read returns.
inline constexpr std::size_t MaxProfileStringLength = 2047;

// A configuration file larger than this is neither read nor replaced: the
// real one is a few hundred bytes.
inline constexpr std::size_t MaxIniFileBytes = 1024 * 1024;

// The keys of the file as read once. Missing file, section or key, or a
// value that is not an integer: the default. Decimal with optional sign;
// "0x"/"0X" (value longer than two characters) and "$" prefixes are
// hexadecimal.
class IniValues {
public:
    // Parses file bytes; what cannot be parsed reads as absent.
    static IniValues FromBytes(std::string_view bytes);
    IniValues();
    ~IniValues();
    IniValues(IniValues&&) noexcept;
    IniValues& operator=(IniValues&&) noexcept;

    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // True for any integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // At most 2047 characters of the value.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Why the file could not be read (Windows-1250), when it exists but was
    // not read: too large, not a regular file, unreadable.
    const std::optional<std::string>& Problem() const { return problem_; }

private:
    friend class IniFile;
    class Profile;
    std::unique_ptr<Profile> profile_;
    std::optional<std::string> problem_;
};

class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }
    bool Exists() const;

    // Reads the file once, for an operation that needs several keys.
    IniValues Load() const;

    // One key each, reading the file for it (see IniValues).
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // Each raises Error "Unable to write to <full path>: <reason>" when the
    // file cannot be written; the file is then left as it was. A file that
    // could not be read whole (see IniValues::Problem) is never rewritten.
    // Another running copy may change the file too: each write holds a lock
    // while it reads, changes and replaces the file, and a key this object
    // writes with the value it first read, while another program has
    // changed it since, keeps the other program's value.
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    void WriteValue(std::string_view section, std::string_view key, std::string_view value);

    std::filesystem::path path_;
    // The file as this object first read it, with its own writes since.
    mutable std::optional<IniValues> seen_;
};

} // namespace orbela
