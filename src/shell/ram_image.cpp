// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ram_image.h"

#include <cerrno>
#include <fcntl.h>
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
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return;
        throw Error(UnableToReadMessage(file));
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
