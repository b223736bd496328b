// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user folders and where the settings file goes: beside the
// executable for a portable copy (or a writable ini in a read-only folder),
// in the user's configuration folder for an installed or read-only copy.

#include "shell/user_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>

#include "text/error.h"
#include "shell/executable_path.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteBytes;

// Sets an environment variable for the test's length.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserFolders, FollowTheXdgVariablesAndFallBackBelowHome)
{
    ScopedVariable home("HOME", "/home/hráč");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
        ScopedVariable data("XDG_DATA_HOME", "/srv/data");
        const UserFolders folders = UserFolders::FromEnvironment();
        EXPECT_EQ(folders.configHome, "/srv/config");
        EXPECT_EQ(folders.dataHome, "/srv/data");
        EXPECT_EQ(UserConfigurationPath(folders), "/srv/config/orbela/orbela.ini");
    }
    // Unset, empty or relative values are not used.
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        ScopedVariable config("XDG_CONFIG_HOME", value);
        ScopedVariable data("XDG_DATA_HOME", value);
        const UserFolders folders = UserFolders::FromEnvironment();
        EXPECT_EQ(folders.configHome, "/home/hráč/.config");
        EXPECT_EQ(folders.dataHome, "/home/hráč/.local/share");
    }
}

class ConfigurationLocation : public ::testing::Test {
protected:
    ConfigurationLocation() { fs::create_directories(folder / "copy"); }

    // As if only the paths in `writable` could be written.
    fs::path Choose(const fs::path& executable, std::set<fs::path> writable)
    {
        return ChooseConfigurationPath(executable, user, [writable](const fs::path& path) {
            return writable.count(path) > 0;
        });
    }
    void MakeInstalled(const fs::path& prefix)
    {
        fs::create_directories(prefix / "bin");
        fs::create_directories(prefix / "share/orbela");
    }

    TempFolder folder;
    UserFolders user{"/home/u/.config", "/home/u/.local/share"};
    const fs::path userIni{"/home/u/.config/orbela/orbela.ini"};
};

TEST_F(ConfigurationLocation, APortableCopyKeepsItsIniBesideTheExecutable)
{
    const fs::path executable = folder / "copy/orbela";
    EXPECT_EQ(Choose(executable, {folder / "copy"}), folder / "copy/orbela.ini");
    // With the real rights of this folder as well.
    EXPECT_EQ(ChooseConfigurationPath(executable, user), folder / "copy/orbela.ini");
    // An existing, writable ini stays in use.
    WriteBytes(folder / "copy/orbela.ini", "[voice]\nvoiceallowed=1\n");
    EXPECT_EQ(Choose(executable, {folder / "copy", folder / "copy/orbela.ini"}), folder / "copy/orbela.ini");
}

TEST_F(ConfigurationLocation, AReadOnlyFolderWithAWritableIniKeepsTheIni)
{
    const fs::path executable = folder / "copy/orbela";
    WriteBytes(folder / "copy/orbela.ini", "");
    EXPECT_EQ(Choose(executable, {folder / "copy/orbela.ini"}), folder / "copy/orbela.ini");
    // Neither the file nor its folder may be written: the user's own.
    EXPECT_EQ(Choose(executable, {}), userIni);
    // A read-only folder without an ini.
    fs::remove(folder / "copy/orbela.ini");
    EXPECT_EQ(Choose(executable, {folder / "copy/orbela.ini"}), userIni);
}

TEST_F(ConfigurationLocation, AnInstalledCopyUsesTheUsersConfigurationFolder)
{
    MakeInstalled(folder / "usr");
    const fs::path executable = folder / "usr/bin/orbela";
    // A system install: nothing in it may be written.
    EXPECT_EQ(Choose(executable, {}), userIni);
    // Even where the bin folder could be written (root, a prefix in the home
    // folder), no ini is made there.
    EXPECT_EQ(Choose(executable, {folder / "usr/bin"}), userIni);
    EXPECT_EQ(ChooseConfigurationPath(executable, user), userIni);
    // An ini put there on purpose, and writable, is used.
    WriteBytes(folder / "usr/bin/orbela.ini", "");
    EXPECT_EQ(Choose(executable, {folder / "usr/bin/orbela.ini"}), folder / "usr/bin/orbela.ini");
}

TEST_F(ConfigurationLocation, RealFolderRightsDecideForAnUnprivilegedUser)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write to read-only folders; the cases above cover the choice";
    const fs::path executable = folder / "copy/orbela";
    WriteBytes(folder / "copy/orbela.ini", "");
    fs::permissions(folder / "copy", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ChooseConfigurationPath(executable, user), folder / "copy/orbela.ini");
    fs::permissions(folder / "copy/orbela.ini", fs::perms::owner_read);
    EXPECT_EQ(ChooseConfigurationPath(executable, user), userIni);
    fs::permissions(folder / "copy", fs::perms::owner_all);
}

TEST(UserDataFolder, IsCreatedAndBecomesTheCurrentDirectory)
{
    TempFolder folder;
    const fs::path previous = fs::current_path();
    EnterUserDataFolder({folder / "config", folder / "new/share"});
    EXPECT_EQ(fs::current_path(), folder / "new/share/orbela");
    fs::current_path(previous);

    // A file where the folder should be: an error naming the folder.
    WriteBytes(folder / "blocked", "");
    try {
        EnterUserDataFolder({folder / "config", folder / "blocked"});
        FAIL() << "no error for a folder that cannot be made";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot use the folder " + (folder / "blocked/orbela").string()),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(fs::current_path(), previous);
}

} // namespace
} // namespace orbela
