// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ram_image.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "i18n/file_messages.h"
#include "text/cp1250.h"
#include "text/error.h"
#include "settings/atomic_file.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

std::string UnableToReadMessage(const fs::path& file, const std::string& reason)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    return "Unable to read " + Utf8ToCp1250Lossy((error ? file : absolute).string()) + ": " + reason;
}

} // namespace

void RamImageFile::Load(RamImage& image)
{
    refusal_.reset();
    RemoveStaleTemporaryFiles(path_);
    // Opened without waiting, so that a FIFO in its place cannot hold the
    // start-up; only a regular file (or a link to one) is read.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return;
        const std::string reason = FileErrorText(errno);
        refusal_ = FileProblemText(FileProblem::NotReadAtStart);
        throw Error(UnableToReadMessage(path_, reason));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        refusal_ = FileProblemText(FileProblem::NotRegular);
        throw Error(UnableToReadMessage(path_, *refusal_));
    }
    if (status.st_size > static_cast<off_t>(image.size())) {
        ::close(fd);
        refusal_ = FileProblemText(FileProblem::LongerThanImage);
        throw Error(UnableToReadMessage(path_, *refusal_));
    }
    // Bytes land in the image as they arrive, so a read that fails half-way
    // keeps what came before it.
    std::size_t filled = 0;
    int failure = 0;
    while (filled < image.size()) {
        const ssize_t got = ::read(fd, image.data() + filled, image.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failure = errno;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    // Grown since the size was taken: more than the image holds.
    char extra = 0;
    const bool longer = failure == 0 && filled == image.size() && ::read(fd, &extra, 1) > 0;
    ::close(fd);
    if (failure != 0) {
        refusal_ = FileProblemText(FileProblem::NotReadAtStart);
        throw Error(UnableToReadMessage(path_, FileErrorText(failure)));
    }
    if (longer) {
        refusal_ = FileProblemText(FileProblem::LongerThanImage);
        throw Error(UnableToReadMessage(path_, *refusal_));
    }
}

void RamImageFile::Save(const RamImage& image) const
{
    if (refusal_)
        throw Error(UnableToWriteMessage(path_) + ": " + *refusal_);
    WriteFileAtomically(path_, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

} // namespace orbela
