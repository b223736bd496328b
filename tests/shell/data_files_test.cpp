// SPDX-License-Identifier: GPL-3.0-or-later
// Where data files are found: the current directory before the installed
// data folder beside the executable's prefix, also after the prefix moved,
// and a message naming the file and every place searched when none has it.

#include "shell/data_files.h"

#include <gtest/gtest.h>

#include "text/error.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteBytes;

class DataFilesTest : public ::testing::Test {
protected:
    DataFilesTest() : previous(fs::current_path())
    {
        fs::create_directories(folder / "prefix/bin");
        fs::create_directories(folder / "prefix/share/orbela");
        fs::create_directories(folder / "work");
        fs::current_path(folder / "work");
    }
    ~DataFilesTest() override { fs::current_path(previous); }

    fs::path Executable() const { return folder / "prefix/bin/orbela"; }

    TempFolder folder;
    fs::path previous;
};

TEST_F(DataFilesTest, TheInstalledDataFolderIsSharedOrbelaBesideTheBinFolder)
{
    EXPECT_EQ(InstalledDataFolderFor("/usr/bin/orbela"), "/usr/share/orbela");
    EXPECT_EQ(InstalledDataFolderFor("/opt/o/bin/orbela"), "/opt/o/share/orbela");
    EXPECT_EQ(DataFoldersFor("/usr/bin/orbela"), (std::vector<fs::path>{".", "/usr/share/orbela"}));
}

TEST_F(DataFilesTest, TheCurrentDirectoryComesFirstThenTheInstalledFolder)
{
    const auto folders = DataFoldersFor(Executable());
    WriteBytes(folder / "prefix/share/orbela/czech.ebt", "installed");
    EXPECT_EQ(FindDataFileIn(folders, "czech.ebt"), folder / "prefix/share/orbela/czech.ebt");

    // A copy in the current directory wins, and is named as before: by its
    // bare name.
    WriteBytes(folder / "work/czech.ebt", "own");
    EXPECT_EQ(FindDataFileIn(folders, "czech.ebt"), fs::path("czech.ebt"));
    EXPECT_EQ(RequireDataFile(folders, "czech.ebt"), fs::path("czech.ebt"));

    // A folder of that name is no data file.
    fs::remove(folder / "work/czech.ebt");
    fs::create_directory(folder / "work/czech.ebt");
    EXPECT_EQ(FindDataFileIn(folders, "czech.ebt"), folder / "prefix/share/orbela/czech.ebt");
}

TEST_F(DataFilesTest, AMovedPrefixStillFindsItsData)
{
    WriteBytes(folder / "prefix/share/orbela/sounds.dat", "waves");
    fs::rename(folder / "prefix", folder / "elsewhere");
    const auto found = FindDataFileIn(DataFoldersFor(folder / "elsewhere/bin/orbela"), "sounds.dat");
    ASSERT_TRUE(found);
    EXPECT_EQ(testing::ReadBytes(*found), "waves");
}

TEST_F(DataFilesTest, AMissingFileIsNamedWithEveryPlaceSearched)
{
    const auto folders = DataFoldersFor(Executable());
    EXPECT_FALSE(FindDataFileIn(folders, "slovak.eky"));
    try {
        RequireDataFile(folders, "slovak.eky");
        FAIL() << "no error for a missing file";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "File not found: slovak.eky (searched: " + (folder / "work").string() +
                                                 ", " + (folder / "prefix/share/orbela").string() + ")");
    }
}

} // namespace
} // namespace orbela
