// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/data_files.h"

#include <system_error>

#include "text/cp1250.h"
#include "text/error.h"
#include "shell/executable_path.h"

#ifndef ORBELA_RELATIVE_DATA_DIR
#error "ORBELA_RELATIVE_DATA_DIR is set by the build: the data folder relative to the executable's"
#endif

namespace orbela {

namespace fs = std::filesystem;

fs::path InstalledDataFolderFor(const fs::path& executable)
{
    return (executable.parent_path() / ORBELA_RELATIVE_DATA_DIR).lexically_normal();
}

std::vector<fs::path> DataFoldersFor(const fs::path& executable)
{
    return {".", InstalledDataFolderFor(executable)};
}

std::vector<fs::path> DataFolders()
{
    return DataFoldersFor(ExecutablePath());
}

std::optional<fs::path> FindDataFileIn(const std::vector<fs::path>& folders, const fs::path& name)
{
    for (const fs::path& folder : folders) {
        const fs::path candidate = folder == "." ? name : folder / name;
        std::error_code error;
        if (fs::is_regular_file(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::string SearchedPlaces(const std::vector<fs::path>& folders, const fs::path& name)
{
    std::string text = name.string() + " (searched:";
    const char* separator = " ";
    for (const fs::path& folder : folders) {
        std::error_code error;
        fs::path absolute = fs::absolute(folder, error).lexically_normal();
        // "/home/u/." normalises to "/home/u/": shown without the slash.
        if (!absolute.has_filename() && absolute.has_relative_path())
            absolute = absolute.parent_path();
        text += separator + (error ? folder : absolute).string();
        separator = ", ";
    }
    return Utf8ToCp1250Lossy(text + ")");
}

fs::path RequireDataFile(const std::vector<fs::path>& folders, const fs::path& name)
{
    if (auto found = FindDataFileIn(folders, name))
        return *found;
    throw Error("File not found: " + SearchedPlaces(folders, name));
}

} // namespace orbela
