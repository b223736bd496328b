// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's data files (sounds.dat, czech.ebt, the .eky files,
// alsoft.conf) are found: the current directory first, so a copy run from
// its own folder reads its own files; then the installed data folder,
// found relative to the executable so that a moved installation still
// finds its files.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orbela {

// The folders searched, in order: "." and the installed data folder of
// `executable` (for /usr/bin/orbela: /usr/share/orbela).
std::vector<std::filesystem::path> DataFoldersFor(const std::filesystem::path& executable);
// The same for the running executable.
std::vector<std::filesystem::path> DataFolders();

// The installed data folder alone.
std::filesystem::path InstalledDataFolderFor(const std::filesystem::path& executable);

// The first regular file `name` in `folders`; a file of the current
// directory comes back as the bare name.
std::optional<std::filesystem::path> FindDataFileIn(const std::vector<std::filesystem::path>& folders,
                                                    const std::filesystem::path& name);

// "<name> (searched: <folder>, <folder>)" with absolute Windows-1250 paths,
// for a message that a file is missing.
std::string SearchedPlaces(const std::vector<std::filesystem::path>& folders, const std::filesystem::path& name);

// FindDataFileIn, raising Error "File not found: <SearchedPlaces>" when no
// folder holds the file.
std::filesystem::path RequireDataFile(const std::vector<std::filesystem::path>& folders,
                                      const std::filesystem::path& name);

} // namespace orbela
