// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/user_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "text/cp1250.h"
#include "text/error.h"
#include "shell/data_files.h"
#include "shell/executable_path.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;

// Every folder is absolute, so that none moves with a change of the
// current directory: a relative HOME is ignored as the base directory rules
// ignore a relative XDG value.
fs::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home && fs::path(home).is_absolute())
        return home;
    // No usable HOME (a service, a stripped environment): the account's own.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        fs::path(found->pw_dir).is_absolute())
        return found->pw_dir;
    return "/";
}

fs::path BaseFolder(const char* variable, const fs::path& fallbackBelowHome)
{
    const char* value = std::getenv(variable);
    if (value && *value && fs::path(value).is_absolute())
        return value;
    return HomeFolder() / fallbackBelowHome;
}

} // namespace

UserFolders UserFolders::FromEnvironment()
{
    return {BaseFolder("XDG_CONFIG_HOME", ".config"), BaseFolder("XDG_DATA_HOME", ".local/share")};
}

bool MayWrite(const fs::path& path)
{
    // The effective user's rights, and a read-only mount, as a write would meet them.
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

fs::path UserConfigurationPath(const UserFolders& folders)
{
    return folders.configHome / "orbela" / "orbela.ini";
}

fs::path ChooseConfigurationPath(const fs::path& executable, const UserFolders& folders, const WritableProbe& mayWrite)
{
    const fs::path beside = ConfigurationPathFor(executable);
    std::error_code error;
    if (fs::exists(beside, error) && mayWrite(beside))
        return beside;
    // An installed program keeps no settings in its bin folder, even where
    // it could (as root, or with a prefix in the home folder).
    const bool installed = fs::is_directory(InstalledDataFolderFor(executable), error);
    if (!installed && mayWrite(beside.parent_path()))
        return beside;
    return UserConfigurationPath(folders);
}

fs::path ConfigurationPath()
{
    const UserFolders folders = UserFolders::FromEnvironment();
    fs::path chosen = ChooseConfigurationPath(ExecutablePath(), folders);
    if (chosen == UserConfigurationPath(folders)) {
        // A failure shows at the first write, as "Unable to write to" the file.
        std::error_code ignored;
        fs::create_directories(chosen.parent_path(), ignored);
    }
    return chosen;
}

void EnterUserDataFolder(const UserFolders& folders)
{
    const fs::path folder = folders.dataHome / "orbela";
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error && ::chdir(folder.c_str()) != 0)
        error = std::error_code(errno, std::generic_category());
    if (error)
        throw Error(Utf8ToCp1250Lossy("Cannot use the folder " + folder.string() + ": " + error.message()));
}

} // namespace orbela
