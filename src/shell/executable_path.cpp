// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/executable_path.h"

#include <algorithm>
#include <system_error>

#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {

namespace fs = std::filesystem;

fs::path ExecutablePath()
{
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    if (error)
        throw Error("Unable to find the program's own file");
    return path;
}

fs::path ConfigurationPathFor(const fs::path& executable)
{
    // Only a dot of the file name starts an extension; a dot in a folder's
    // name does not.
    std::string name = executable.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return executable.parent_path() / (name + ".ini");
}

std::string ExecutableCaptionName(const fs::path& executable)
{
    // The first dot of the whole path ends the name, even when it stands in
    // a folder's name: "/home/a/my.games/orbela" gives "my".
    std::string path = executable.string();
    path.erase(std::min(path.find('.'), path.size()));
    const std::size_t separator = path.rfind('/');
    if (separator != std::string::npos)
        path.erase(0, separator + 1);
    return Utf8ToCp1250Lossy(path);
}

} // namespace orbela
