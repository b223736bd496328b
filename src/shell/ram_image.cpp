// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ram_image.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <string_view>
#include <unistd.h>

#include "runtime/cp1250.h"
#include "runtime/error.h"
#include "shell/atomic_file.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

std::string UnableToReadMessage(const fs::path& file)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    return "Unable to read " + Utf8ToCp1250Lossy((error ? file : absolute).string());
}

} // namespace

void LoadRamImage(RamImage& image, const fs::path& file)
{
    RemoveStaleTemporaryFiles(file);
    // Opened without waiting, so that a FIFO in its place cannot hold the
    // start-up; only a regular file (or a link to one) is read.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return;
        throw Error(UnableToReadMessage(file));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw Error(UnableToReadMessage(file) + ": it is not a regular file");
    }
    // Bytes land in the image as they arrive, so a read that fails half-way
    // keeps what came before it.
    std::size_t filled = 0;
    bool failed = false;
    while (filled < image.size()) {
        const ssize_t got = ::read(fd, image.data() + filled, image.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failed = true;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (failed)
        throw Error(UnableToReadMessage(file));
}

void SaveRamImage(const RamImage& image, const fs::path& file)
{
    WriteFileAtomically(file, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

} // namespace orbela
