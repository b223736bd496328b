// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ini_file.h"

// Values are bytes as they stand in the file; no wide-character layer.
#define SI_NO_CONVERSION
// The packaged header keeps its template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/cp1250.h"
#include "runtime/error.h"
#include "shell/atomic_file.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

enum class LoadResult { Loaded, Missing, Unreadable, TooLarge, NotRegular };

// Opened without waiting, so that a FIFO in the file's place cannot hold
// the program; only a regular file is read.
LoadResult ReadWholeFile(const fs::path& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? LoadResult::Missing : LoadResult::Unreadable;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return LoadResult::NotRegular;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? LoadResult::Loaded : LoadResult::Unreadable;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > MaxIniFileBytes) {
            ::close(fd);
            return LoadResult::TooLarge;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string ProblemMessage(const fs::path& path, LoadResult result)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    const std::string shown = Utf8ToCp1250Lossy((error ? path : absolute).string());
    switch (result) {
    case LoadResult::TooLarge:
        return shown + " is larger than " + std::to_string(MaxIniFileBytes) + " bytes and is not read";
    case LoadResult::NotRegular:
        return shown + " is not a regular file and is not read";
    default:
        return "Unable to read " + shown;
    }
}

} // namespace

// Values stay raw bytes (Windows-1250): no UTF-8 conversion. Names match
// without regard to case (SimpleIni's "A" class; its "CaseA" class is the
// case-sensitive one), so a name written in another case replaces the key
// that is there.
class IniValues::Profile {
public:
    Profile()
    {
        ini_.SetUnicode(false);
        ini_.SetMultiKey(false);
        ini_.SetMultiLine(false);
        ini_.SetSpaces(false);
    }

    bool Parse(std::string_view bytes) { return ini_.LoadData(bytes.data(), bytes.size()) >= 0; }

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

IniValues::IniValues() : profile_(std::make_unique<Profile>()) {}
IniValues::~IniValues() = default;
IniValues::IniValues(IniValues&&) noexcept = default;
IniValues& IniValues::operator=(IniValues&&) noexcept = default;

IniValues IniValues::FromBytes(std::string_view bytes)
{
    IniValues values;
    if (!values.profile_->Parse(bytes))
        values.profile_ = std::make_unique<Profile>();
    return values;
}

int IniValues::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const char* value = profile_->Value(section, key);
    if (value == nullptr)
        return defaultValue;
    return ParseProfileInteger(value).value_or(defaultValue);
}

bool IniValues::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string IniValues::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const char* value = profile_->Value(section, key);
    std::string text(value != nullptr ? std::string_view(value) : defaultValue);
    if (text.size() > MaxProfileStringLength)
        text.resize(MaxProfileStringLength);
    return text;
}

// Writes one key: loads the file as it stands now, changes the key and
// replaces the file. A file that exists but cannot be read is not
// overwritten, since its other settings would be lost.
void IniFile::WriteValue(std::string_view section, std::string_view key, std::string_view value)
{
    const fs::path& path = path_;
    std::string old;
    const LoadResult result = ReadWholeFile(path, old);
    if (result == LoadResult::TooLarge)
        throw Error(UnableToWriteMessage(path) + ": " + ProblemMessage(path, result));
    // Something that is not a regular file holds no settings to keep; the
    // save below refuses to replace it and says why.
    IniValues values = IniValues::FromBytes(old);
    std::string bytes;
    if (result == LoadResult::Unreadable || !values.profile_->Set(section, key, value) || !values.profile_->Save(bytes))
        throw Error(UnableToWriteMessage(path));
    WriteFileAtomically(path, bytes);
}

bool IniFile::Exists() const
{
    std::error_code error;
    return fs::is_regular_file(path_, error);
}

IniValues IniFile::Load() const
{
    std::string bytes;
    const LoadResult result = ReadWholeFile(path_, bytes);
    if (result == LoadResult::Loaded)
        return IniValues::FromBytes(bytes);
    IniValues values;
    if (result != LoadResult::Missing)
        values.problem_ = ProblemMessage(path_, result);
    return values;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    return Load().ReadInteger(section, key, defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return Load().ReadBool(section, key, defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    return Load().ReadString(section, key, defaultValue);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteValue(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteValue(section, key, value ? "1" : "0");
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
    WriteValue(section, key, oneLine);
}

} // namespace orbela
