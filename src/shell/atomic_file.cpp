// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/cp1250.h"
#include "runtime/error.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

// Closes the descriptor when the write gives up half-way.
class FileDescriptor {
public:
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

private:
    int fd_;
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

// The new file takes over the permission bits and, where the process may
// give it away, the owner of the file it replaces; a new file gets what
// creating it would have given under the process's umask.
bool TakeOverAttributes(int fd, const fs::path& target)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())
            static_cast<void>(::fchown(fd, existing.st_uid, existing.st_gid));
        return ::fchmod(fd, existing.st_mode & 07777) == 0;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd, 0666 & ~mask) == 0;
}

// A link is followed, so that the file it names is replaced and the link
// stays.
fs::path ResolveTarget(const fs::path& file)
{
    std::error_code error;
    if (!fs::is_symlink(file, error))
        return file;
    fs::path resolved = fs::weakly_canonical(file, error);
    return error ? file : resolved;
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

bool ReplaceFile(const fs::path& target, std::string_view bytes)
{
    const fs::path folder = target.parent_path();
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor temporary(::mkostemp(pattern.data(), O_CLOEXEC));
    if (temporary.Get() < 0)
        return false;
    const bool written = TakeOverAttributes(temporary.Get(), target)
        && WriteAll(temporary.Get(), bytes) && ::fsync(temporary.Get()) == 0;
    if (!temporary.Close() || !written || ::rename(pattern.c_str(), target.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

} // namespace

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    if (file.empty() || !file.has_filename() || !ReplaceFile(ResolveTarget(file), bytes))
        throw Error(UnableToWriteMessage(file));
}

std::string UnableToWriteMessage(const std::filesystem::path& file)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    return "Unable to write to " + Utf8ToCp1250Lossy((error ? file : absolute).string());
}

} // namespace orbela
