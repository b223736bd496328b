// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/atomic_file.h"

#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

#include "text/error.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::Cp;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::size_t EntriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

std::string MessageOfWrite(const fs::path& file, std::string_view bytes)
{
    try {
        WriteFileAtomically(file, bytes);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

mode_t ModeOf(const fs::path& file)
{
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

// Makes writes beyond `bytes` fail as on a full disk, for one scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST(AtomicFileTest, ReplacesTheContentAndKeepsThePermissions)
{
    TempFolder folder;
    const fs::path file = folder / "settings.ini";
    WriteBytes(file, "old content that is longer than the new one");
    ::chmod(file.c_str(), 0640);

    WriteFileAtomically(file, "new");

    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "a temporary file was left behind";
}

TEST(AtomicFileTest, ANewFileGetsTheUmaskPermissionsAndAnyBytes)
{
    TempFolder folder;
    const fs::path file = folder / "ram.dat";
    const mode_t saved = ::umask(027);
    const std::string bytes("\0\x01\xFF\r\n\0", 6);
    WriteFileAtomically(file, bytes);
    ::umask(saved);

    EXPECT_EQ(ReadBytes(file), bytes);
    EXPECT_EQ(ModeOf(file), 0640u);
}

TEST(AtomicFileTest, WritingThroughALinkReplacesItsTarget)
{
    TempFolder folder;
    const fs::path target = folder / "real.ini";
    const fs::path link = folder / "link.ini";
    WriteBytes(target, "old");
    fs::create_symlink(target, link);

    WriteFileAtomically(link, "new");

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST(AtomicFileTest, AFolderThatCannotHoldFilesIsReportedWithTheFullPath)
{
    TempFolder folder;
    // Root may write into read-only folders, so the folder here is a
    // regular file, which nobody can create files in.
    WriteBytes(folder / "plain", "x");
    const fs::path blocked = folder / "plain" / "orbela.ini";
    EXPECT_EQ(MessageOfWrite(blocked, "data"), "Unable to write to " + blocked.string() + ": Not a directory");
    EXPECT_EQ(ReadBytes(folder / "plain"), "x");

    // Nor can anybody create a file directly under /proc.
    EXPECT_EQ(MessageOfWrite("/proc/orbela-test.ini", "data"),
              "Unable to write to /proc/orbela-test.ini: No such file or directory");
    EXPECT_FALSE(fs::exists("/proc/orbela-test.ini"));
}

TEST(AtomicFileTest, TheMessageNamesTheAbsolutePathInWindows1250)
{
    const fs::path relative = "no-such-folder-for-orbela/ram.dat";
    EXPECT_EQ(MessageOfWrite(relative, "x"),
              "Unable to write to " + (fs::current_path() / relative).string() + ": No such file or directory");

    TempFolder folder;
    const fs::path czech = folder / "složka" / "ram.dat";
    EXPECT_EQ(UnableToWriteMessage(czech), "Unable to write to " + folder.Path().string() + Cp("/složka/ram.dat"));
}

TEST(AtomicFileTest, AFileSizeLimitLeavesTheOldFileIntactAndIsGivenAsTheReason)
{
    TempFolder folder;
    const fs::path file = folder / "ram.dat";
    WriteBytes(file, "the old image");

    std::string message;
    {
        FileSizeLimit limit(1024);
        message = MessageOfWrite(file, std::string(65536, 'n'));
    }

    EXPECT_EQ(message, "Unable to write to " + file.string() + ": the file would be larger than the limit on file size");
    EXPECT_EQ(ReadBytes(file), "the old image");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "a temporary file was left behind";
}

TEST(AtomicFileTest, AnotherCopyStartingUpNeverTakesARunningSavesFile)
{
    // A second copy of the program clears killed saves' files at its start
    // while this one saves: no save may lose its temporary file to it.
    TempFolder folder;
    const fs::path file = folder / "ram.dat";
    WriteBytes(file, "the old image");
    std::atomic<bool> saving{true};
    std::thread otherCopy([&] {
        while (saving)
            RemoveStaleTemporaryFiles(file);
    });
    int failed = 0;
    for (int save = 0; save < 2000; ++save) {
        if (MessageOfWrite(file, "image " + std::to_string(save)) != "no error")
            ++failed;
    }
    saving = false;
    otherCopy.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(ReadBytes(file), "image 1999");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "a temporary file was left behind";
}

} // namespace
} // namespace orbela
