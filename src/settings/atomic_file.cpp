// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "i18n/file_messages.h"
#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

// Closes the descriptor when the write gives up half-way.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool Close()
    {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    void Reset(int fd = -1)
    {
        Close();
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The new file takes over the permission bits and the owner of the file it
// replaces; a new file gets what creating it would have given under the
// process's umask. The temporary file itself is created 0600, so nobody
// else can read it half-written. False when the owner cannot be kept.
bool TakeOverAttributes(int fd, const fs::path& target, int& error)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            error = EPERM;
            return false;
        }
        if (::fchmod(fd, existing.st_mode & 07777) == 0)
            return true;
        error = errno;
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) == 0)
        return true;
    error = errno;
    return false;
}

// Makes the rename itself durable; a folder that cannot be synced does not
// make the write fail, the data are already on disk.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

struct Target {
    fs::path path;                      // the file to replace, links resolved
    std::optional<FileProblem> refusal; // why nothing may be written
};

// The rule for what a save may replace: a regular file, a name that does
// not exist yet, or a link (over any number of links) to a regular file,
// which is saved through, keeping the link. A link to anything else, a
// link that points nowhere, and anything that is not a regular file (a
// folder, a device, a FIFO, a socket) are refused and left as they are.
Target ResolveTarget(const fs::path& file)
{
    struct stat own {};
    if (::lstat(file.c_str(), &own) != 0)
        return {file, {}};
    if (S_ISREG(own.st_mode))
        return {file, {}};
    if (!S_ISLNK(own.st_mode))
        return {file, FileProblem::NotRegular};
    struct stat pointed {};
    if (::stat(file.c_str(), &pointed) != 0)
        return {file, FileProblem::LinkToNothing};
    if (!S_ISREG(pointed.st_mode))
        return {file, FileProblem::LinkToNotRegular};
    char resolved[PATH_MAX];
    if (::realpath(file.c_str(), resolved) == nullptr)
        return {file, FileProblem::LinkUnfollowable};
    return {resolved, {}};
}

// No one else names files so: the program's own mark between the file's
// name and mkostemp's six characters.
constexpr std::string_view TemporaryMark = ".orbela-save-";

std::string TemporaryPattern(const fs::path& target)
{
    return (target.parent_path() / ("." + target.filename().string() + std::string(TemporaryMark) + "XXXXXX"))
        .string();
}

// Why a save failed: a problem of its own or a system error.
struct Failure {
    std::optional<FileProblem> problem;
    int error = 0;

    std::string Text() const { return problem ? FileProblemText(*problem) : FileErrorText(error); }
};

// Rewrites the file in place, where the folder takes no new file or the
// file's owner could not be kept by replacing it. The space is reserved
// first, so a full disk or a limit on file size leaves the file as it was;
// the size written is checked afterwards.
std::optional<Failure> RewriteInPlace(const fs::path& target, std::string_view bytes)
{
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status {};
    if (file.Get() < 0)
        return Failure{{}, errno};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return Failure{FileProblem::NotRegular, 0};
    if (!bytes.empty()) {
        const int reserved = ::posix_fallocate(file.Get(), 0, static_cast<off_t>(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return Failure{{}, reserved};
    }
    errno = 0;
    const bool written = WriteAll(file.Get(), bytes) &&
        ::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(file.Get()) == 0 &&
        ::fstat(file.Get(), &status) == 0 && status.st_size == static_cast<off_t>(bytes.size());
    const int error = errno ? errno : EIO;
    if (!file.Close() || !written)
        return Failure{{}, error};
    return std::nullopt;
}

bool FolderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// A file the user made read-only is left alone, also by a process (root)
// that could write it anyway: no write permission for anyone in its mode.
std::optional<Failure> RefusalOfExisting(const fs::path& target, bool& exists)
{
    struct stat status {};
    exists = ::stat(target.c_str(), &status) == 0;
    if (!exists)
        return std::nullopt;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EROFS)
            return Failure{FileProblem::ReadOnlyDisk, 0};
        return Failure{FileProblem::ReadOnlyFile, 0};
    }
    if ((status.st_mode & 0222) == 0)
        return Failure{FileProblem::ReadOnlyFile, 0};
    return std::nullopt;
}

std::optional<Failure> ReplaceFile(const fs::path& target, std::string_view bytes)
{
    bool exists = false;
    if (auto refusal = RefusalOfExisting(target, exists))
        return refusal;
    const fs::path folder = target.parent_path();
    std::string pattern;
    FileDescriptor temporary;
    // Locked while the file is written: the clean-up at a start leaves
    // alone a temporary file that a running save holds. Another copy
    // starting up may take the file between its creation and the lock;
    // then a new one is made.
    for (int attempt = 0; attempt < 8 && temporary.Get() < 0; ++attempt) {
        pattern = TemporaryPattern(target);
        // mkostemp opens with O_CREAT | O_EXCL and mode 0600.
        temporary.Reset(::mkostemp(pattern.data(), O_CLOEXEC));
        if (temporary.Get() < 0) {
            const int error = errno;
            if (FolderRefusesNewFiles(error) && exists)
                return RewriteInPlace(target, bytes);
            if (error == EACCES || error == EPERM)
                return Failure{FileProblem::FolderNotWritable, 0};
            return Failure{{}, error};
        }
        struct stat status {};
        if (::flock(temporary.Get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(temporary.Get(), &status) != 0 ||
            status.st_nlink == 0)
            temporary.Reset();  // the clean-up has it and removes it
    }
    if (temporary.Get() < 0)
        return Failure{{}, EEXIST};
    int error = 0;
    if (!TakeOverAttributes(temporary.Get(), target, error)) {
        ::unlink(pattern.c_str());
        // Replacing it would give the file away to this user: written in place.
        if (error == EPERM)
            return RewriteInPlace(target, bytes);
        return Failure{{}, error};
    }
    errno = 0;
    const bool written = WriteAll(temporary.Get(), bytes) && ::fsync(temporary.Get()) == 0 &&
        ::rename(pattern.c_str(), target.c_str()) == 0;
    if (!written) {
        error = errno ? errno : EIO;
        ::unlink(pattern.c_str());
        return Failure{{}, error};
    }
    errno = 0;
    const bool closed = temporary.Close();
    error = errno;
    SyncFolder(folder);
    if (!closed)
        return Failure{{}, error ? error : EIO};
    return std::nullopt;
}

// A temporary file's name: "." + the file's name + the program's mark +
// six letters or digits, as mkostemp makes them.
bool IsTemporaryName(const std::string& name, const std::string& fileName)
{
    const std::string prefix = "." + fileName + std::string(TemporaryMark);
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

void RemoveStaleIn(const fs::path& folder, const std::string& fileName)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder.empty() ? "." : folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path path = entry->path();
        if (!IsTemporaryName(path.filename().string(), fileName))
            continue;
        FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat status {};
        if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid())
            continue;
        // A save still running holds its lock; a killed one left it free.
        if (::flock(file.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
    }
}

} // namespace

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    if (file.empty() || !file.has_filename())
        throw Error(UnableToWriteMessage(file));
    const Target target = ResolveTarget(file);
    if (target.refusal)
        throw Error(UnableToWriteMessage(file) + ": " + FileProblemText(*target.refusal));
    if (const auto failure = ReplaceFile(target.path, bytes))
        throw Error(UnableToWriteMessage(file) + ": " + failure->Text());
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& file)
{
    if (file.empty() || !file.has_filename())
        return;
    RemoveStaleIn(file.parent_path(), file.filename().string());
    const Target target = ResolveTarget(file);
    if (!target.refusal && target.path != file)
        RemoveStaleIn(target.path.parent_path(), target.path.filename().string());
}

std::string UnableToWriteMessage(const std::filesystem::path& file)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    return "Unable to write to " + Utf8ToCp1250Lossy((error ? file : absolute).string());
}

} // namespace orbela
