// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ini_file.h"

// Values are bytes as they stand in the file; no wide-character layer.
#define SI_NO_CONVERSION
// The packaged header keeps its template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "runtime/error.h"
#include "shell/atomic_file.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

enum class LoadResult { Loaded, Missing, Unreadable };

LoadResult ReadWholeFile(const fs::path& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? LoadResult::Missing : LoadResult::Unreadable;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? LoadResult::Loaded : LoadResult::Unreadable;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// Values stay raw bytes (Windows-1250): no UTF-8 conversion. Names match
// without regard to case (SimpleIni's "A" class; its "CaseA" class is the
// case-sensitive one), so a name written in another case replaces the key
// that is there.
class Profile {
public:
    Profile()
    {
        ini_.SetUnicode(false);
        ini_.SetMultiKey(false);
        ini_.SetMultiLine(false);
        ini_.SetSpaces(false);
    }

    LoadResult Load(const fs::path& path)
    {
        std::string bytes;
        const LoadResult result = ReadWholeFile(path, bytes);
        if (result != LoadResult::Loaded)
            return result;
        return ini_.LoadData(bytes) < 0 ? LoadResult::Unreadable : LoadResult::Loaded;
    }

    const char* Value(std::string_view section, std::string_view key) const
    {
        return ini_.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    }

    bool Set(std::string_view section, std::string_view key, std::string_view value)
    {
        return ini_.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str()) >= 0;
    }

    bool Save(std::string& bytes) const { return ini_.Save(bytes, false) >= 0; }

private:
    CSimpleIniA ini_;
};

// Writes one key: loads the file as it stands now, changes the key and
// replaces the file. A file that exists but cannot be read is not
// overwritten, since its other settings would be lost.
void WriteValue(const fs::path& path, std::string_view section, std::string_view key, std::string_view value)
{
    Profile profile;
    std::string bytes;
    if (profile.Load(path) == LoadResult::Unreadable || !profile.Set(section, key, value) || !profile.Save(bytes))
        throw Error(UnableToWriteMessage(path));
    WriteFileAtomically(path, bytes);
}

} // namespace

bool IniFile::Exists() const
{
    std::error_code error;
    return fs::is_regular_file(path_, error);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    Profile profile;
    if (profile.Load(path_) != LoadResult::Loaded)
        return defaultValue;
    const char* value = profile.Value(section, key);
    if (value == nullptr)
        return defaultValue;
    return ParseProfileInteger(value).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    Profile profile;
    const char* value = profile.Load(path_) == LoadResult::Loaded ? profile.Value(section, key) : nullptr;
    std::string text(value != nullptr ? std::string_view(value) : defaultValue);
    if (text.size() > MaxProfileStringLength)
        text.resize(MaxProfileStringLength);
    return text;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteValue(path_, section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteValue(path_, section, key, value ? "1" : "0");
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    // A line break would end the value and let the rest of it stand in the
    // file as keys or sections of its own; a NUL would cut it short.
    std::string oneLine(value);
    for (char& c : oneLine) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    WriteValue(path_, section, key, oneLine);
}

} // namespace orbela
