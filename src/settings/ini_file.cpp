// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

// Values are bytes as they stand in the file; no wide-character layer.
#define SI_NO_CONVERSION
// The packaged header keeps its template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <ctime>
#include <unistd.h>

#include "i18n/file_messages.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "settings/atomic_file.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

enum class LoadResult { Loaded, Missing, Unreadable, TooLarge, NotRegular, NotText };

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
            if (got < 0)
                return LoadResult::Unreadable;
            // A NUL would end a line early for the parser and hide the rest
            // of the file (UTF-16 text is full of them); such a file is not
            // taken for settings, and so never rewritten.
            return bytes.find('\0') == std::string::npos ? LoadResult::Loaded : LoadResult::NotText;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > MaxIniFileBytes) {
            ::close(fd);
            return LoadResult::TooLarge;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

FileProblem ProblemOf(LoadResult result)
{
    switch (result) {
    case LoadResult::TooLarge:
        return FileProblem::TooLarge;
    case LoadResult::NotRegular:
        return FileProblem::NotRegular;
    case LoadResult::NotText:
        return FileProblem::NotText;
    default:
        return FileProblem::Unreadable;
    }
}

std::string ShownPath(const fs::path& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return Utf8ToCp1250Lossy((error ? path : absolute).string());
}

std::string ProblemMessage(const fs::path& path, LoadResult result)
{
    return "Unable to read " + ShownPath(path) + ": " + FileProblemText(ProblemOf(result));
}

// Two running copies change settings through the same file: each
// read-change-write holds a lock on the file's folder (the file itself is
// replaced, so a lock on it would not last), so neither writes over what
// the other has just written. A folder that cannot be opened or locked
// within a few seconds is written without it.
class FolderLock {
public:
    explicit FolderLock(const fs::path& file)
    {
        const fs::path folder = file.parent_path();
        fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0)
            return;
        for (int attempt = 0; attempt < 300; ++attempt) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
                return;
            if (errno != EWOULDBLOCK && errno != EINTR)
                break;
            const timespec pause{0, 10'000'000};
            ::nanosleep(&pause, nullptr);
        }
        ::close(fd_);
        fd_ = -1;
    }
    ~FolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

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
    const FolderLock lock(path);
    std::string old;
    const LoadResult result = ReadWholeFile(path, old);
    // Something that is not a regular file holds no settings to keep; the
    // save below refuses to replace it and says why.
    if (result == LoadResult::TooLarge || result == LoadResult::NotText || result == LoadResult::Unreadable)
        throw Error(UnableToWriteMessage(path) + ": " + FileProblemText(ProblemOf(result)));
    IniValues values = IniValues::FromBytes(old);
    if (seen_) {
        const char* was = seen_->profile_->Value(section, key);
        const char* now = values.profile_->Value(section, key);
        // Unchanged by this run, changed by another copy: theirs stands. A
        // key gone with its file was changed by no copy: it is written.
        if (was != nullptr && value == was && now != nullptr && std::string_view(now) != was)
            return;
    }
    std::string bytes;
    if (!values.profile_->Set(section, key, value) || !values.profile_->Save(bytes))
        throw Error(UnableToWriteMessage(path));
    WriteFileAtomically(path, bytes);
    if (seen_)
        seen_->profile_->Set(section, key, value);
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
    if (!seen_)
        seen_ = IniValues::FromBytes(result == LoadResult::Loaded ? bytes : std::string());
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
