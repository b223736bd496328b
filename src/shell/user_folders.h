// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user folders of an installed program (the XDG base directories)
// and the choice of the settings file: beside the executable for a copy
// that may write there (a portable copy), else in the user's configuration
// folder.

#include <filesystem>
#include <functional>

namespace orbela {

struct UserFolders {
    // $XDG_CONFIG_HOME, else ~/.config (HOME when absolute, else the
    // account's home folder). Always absolute.
    std::filesystem::path configHome;
    // $XDG_DATA_HOME, else ~/.local/share.
    std::filesystem::path dataHome;

    // From the environment; a relative XDG value is ignored, as the base
    // directory rules say.
    static UserFolders FromEnvironment();
};

// Whether the user may write to a file or folder.
using WritableProbe = std::function<bool(const std::filesystem::path&)>;
bool MayWrite(const std::filesystem::path& path);

// configHome/orbela/orbela.ini.
std::filesystem::path UserConfigurationPath(const UserFolders& folders);

// The ini file beside `executable` (ConfigurationPathFor) when that file
// exists and may be written, or when its folder may be written and the
// executable is not an installed one (it has no installed data folder);
// otherwise UserConfigurationPath.
std::filesystem::path ChooseConfigurationPath(const std::filesystem::path& executable, const UserFolders& folders,
                                              const WritableProbe& mayWrite = MayWrite);

// ChooseConfigurationPath for the running executable; the user's
// configuration folder is created when it is chosen.
std::filesystem::path ConfigurationPath();

// Creates dataHome/orbela when missing and makes it the current directory,
// where ram.dat and data.dta are kept. Raises Error naming the folder when
// either fails.
void EnterUserDataFolder(const UserFolders& folders);

} // namespace orbela
