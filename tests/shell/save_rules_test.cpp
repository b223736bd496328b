// SPDX-License-Identifier: GPL-3.0-or-later
// What a save may replace and what a start may read, for "ram.dat" and the
// configuration file alike: links, special files, unreadable files,
// read-only folders, and the litter of killed saves.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "text/error.h"
#include "settings/atomic_file.h"
#include "settings/configuration.h"
#include "settings/ini_file.h"
#include "shell/ram_image.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr uid_t Nobody = 65534;

// The two files a run saves, each through its own writer.
enum class Saved { RamImage, Configuration };

void Save(Saved kind, const fs::path& file)
{
    if (kind == Saved::RamImage) {
        RamImage image{};
        image[0] = 'N';
        RamImageFile(file).Save(image);
    } else {
        IniFile(file).WriteInteger("sounds", "sndvolume", -300);
    }
}

bool HoldsTheNewSave(Saved kind, const fs::path& file)
{
    if (kind == Saved::RamImage)
        return ReadBytes(file) == "N" + std::string(RamImageSize - 1, '\0');
    return IniFile(file).ReadInteger("sounds", "sndvolume", 0) == -300;
}

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

std::size_t EntriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Root may read and write whatever it likes, so permission cases run in a
// child that has given up root (when the tests run as root).
bool AsUnprivileged(const std::function<bool()>& check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void GiveToNobody(const fs::path& path)
{
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), Nobody, Nobody), 0);
    }
}

class SaveRulesTest : public ::testing::TestWithParam<Saved> {
protected:
    TempFolder folder;
    fs::path file = folder / (GetParam() == Saved::RamImage ? "ram.dat" : "orbela.ini");
};

TEST_P(SaveRulesTest, ALinkToARegularFileIsSavedThroughAndStaysALink)
{
    const fs::path real = folder / "elsewhere.bin";
    WriteBytes(real, "old");
    fs::create_symlink(real, file);

    Save(GetParam(), file);

    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_TRUE(HoldsTheNewSave(GetParam(), real));
    EXPECT_EQ(EntriesIn(folder.Path()), 2u) << "a temporary file was left behind";
}

TEST_P(SaveRulesTest, ALinkToADeviceOrAFifoIsRefusedAndLeftAsItIs)
{
    const fs::path fifo = folder / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::vector<fs::path> specials{fifo};
    // A device node of its own (the null device's numbers), so that a fault
    // could not replace a real one.
    const fs::path device = folder / "null-device";
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        specials.push_back(device);

    for (const fs::path& special : specials) {
        fs::remove(file);
        fs::create_symlink(special, file);
        EXPECT_EQ(ErrorOf([&] { Save(GetParam(), file); }),
                  "Unable to write to " + file.string() + ": it is a link to something that is not a regular file");
        EXPECT_FALSE(fs::is_regular_file(special)) << special;
        EXPECT_TRUE(fs::is_symlink(file));
    }
}

TEST_P(SaveRulesTest, ADanglingLinkIsRefusedAndCreatesNothing)
{
    fs::create_symlink(folder / "gone" , file);
    EXPECT_EQ(ErrorOf([&] { Save(GetParam(), file); }),
              "Unable to write to " + file.string() + ": it is a link that points to nothing");
    EXPECT_FALSE(fs::exists(folder / "gone"));
}

TEST_P(SaveRulesTest, AFolderOrAFifoInTheFilesPlaceIsRefusedOnSaveAndOnStart)
{
    fs::create_directory(file);
    EXPECT_EQ(ErrorOf([&] { Save(GetParam(), file); }), "Unable to write to " + file.string() + ": it is not a regular file");
    EXPECT_TRUE(fs::is_directory(file));
    fs::remove(file);

    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    // Nobody writes into the FIFO: a reader that waited for one would hang.
    RuntimeState state;
    MenuMarks marks;
    IniFile configuration(file);
    const std::string startError = GetParam() == Saved::RamImage
        ? ErrorOf([&] { RamImageFile(file).Load(state.ramimage); })
        : ErrorOf([&] { LoadConfiguration(configuration, state, true, marks); });
    EXPECT_NE(startError.find("not a regular file"), std::string::npos) << startError;
    EXPECT_EQ(ErrorOf([&] { Save(GetParam(), file); }), "Unable to write to " + file.string() + ": it is not a regular file");
}

TEST_P(SaveRulesTest, AnUnreadableFileIsReportedOnStartAndNotReplacedBehindTheUsersBack)
{
    WriteBytes(file, GetParam() == Saved::RamImage ? std::string("old") : std::string("[sounds]\nsndvolume=-5\n"));
    ::chmod(file.c_str(), 0200);
    GiveToNobody(folder.Path());
    GiveToNobody(file);
    const Saved kind = GetParam();
    const fs::path path = file;
    EXPECT_TRUE(AsUnprivileged([kind, path] {
        RamImage image{};
        if (kind == Saved::RamImage) {
            RamImageFile ram(path);
            return ErrorOf([&] { ram.Load(image); }) == "Unable to read " + path.string() + ": permission denied" &&
                ErrorOf([&] { ram.Save(image); }) ==
                "Unable to write to " + path.string() + ": it could not be read whole at start and is kept as it is";
        }
        // A setting written into a file that cannot be read would lose the
        // others: it is refused.
        return ErrorOf([&] { Save(kind, path); }) == "Unable to write to " + path.string() + ": it cannot be read";
    }));
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(ReadBytes(file), GetParam() == Saved::RamImage ? "old" : "[sounds]\nsndvolume=-5\n");
}

TEST_P(SaveRulesTest, AReadOnlyFolderWithAWritableFileIsRewrittenInPlace)
{
    WriteBytes(file, std::string(70000, 'o'));
    GiveToNobody(file);
    GiveToNobody(folder.Path());
    ::chmod(folder.Path().c_str(), 0555);
    const Saved kind = GetParam();
    const fs::path path = file;
    EXPECT_TRUE(AsUnprivileged([kind, path] {
        Save(kind, path);
        return HoldsTheNewSave(kind, path);
    }));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);

    // A file that may not be written either is refused and kept.
    ::chmod(file.c_str(), 0444);
    const std::string before = ReadBytes(file);
    EXPECT_TRUE(AsUnprivileged([kind, path] {
        return ErrorOf([&] { Save(kind, path); }) == "Unable to write to " + path.string() + ": the file is read-only";
    }));
    EXPECT_EQ(ReadBytes(file), before);
}

TEST_P(SaveRulesTest, AStartRemovesOnlyTheTemporaryFilesOfKilledSaves)
{
    const std::string name = file.filename().string();
    const fs::path stale = folder / ("." + name + ".orbela-save-Ab3xZ9");
    const fs::path held = folder / ("." + name + ".orbela-save-HeLd00");
    // The player's own files (rsync names its temporary files so, too).
    const fs::path others[] = {folder / ("." + name + ".Ab3xZ9"), folder / ("." + name + ".backup"),
                               folder / ("." + name + ".orbela-save-toolong7"), folder / ("." + name + ".ab-123"),
                               folder / ("other." + name + ".orbela-save-Ab3xZ9"), folder / (name + ".Ab3xZ9")};
    WriteBytes(stale, "half a save");
    WriteBytes(held, "a save in progress");
    for (const fs::path& other : others)
        WriteBytes(other, "not ours");
    const int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    RuntimeState state;
    MenuMarks marks;
    IniFile configuration(file);
    if (GetParam() == Saved::RamImage)
        RamImageFile(file).Load(state.ramimage);
    else
        LoadConfiguration(configuration, state, true, marks);
    ::close(holder);

    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(held)) << "a running save's file was taken away";
    for (const fs::path& other : others)
        EXPECT_TRUE(fs::exists(other)) << other;
}

INSTANTIATE_TEST_SUITE_P(BothFiles, SaveRulesTest, ::testing::Values(Saved::RamImage, Saved::Configuration),
                         [](const auto& info) { return info.param == Saved::RamImage ? "RamImage" : "Configuration"; });

TEST(LargeFilesTest, AnOversizedConfigurationIsReportedAndNotReplaced)
{
    TempFolder folder;
    const fs::path file = folder / "orbela.ini";
    const std::string content = "[voice]\nvoiceallowed=0\n;" + std::string(MaxIniFileBytes, 'x') + "\n";
    WriteBytes(file, content);
    RuntimeState state;
    MenuMarks marks;
    IniFile configuration(file);
    const std::string error = ErrorOf([&] { LoadConfiguration(configuration, state, false, marks); });
    EXPECT_EQ(error, "Unable to read " + file.string() + ": it is larger than 1048576 bytes and is kept as it is");
    EXPECT_TRUE(state.voiceallowed) << "the defaults stand";
    EXPECT_NE(ErrorOf([&] { configuration.WriteInteger("sounds", "sndvolume", 0); }).find("is larger than"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(file), content);
}

} // namespace
} // namespace orbela
