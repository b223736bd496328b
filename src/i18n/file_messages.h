// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file could not be saved or read, in the interface's language: the
// words after "Unable to write to <path>: ". The language is the one the
// interface took at start (a change takes effect at the next start).

#include <string>

namespace orbela {

enum class FileProblem {
    DiskFull,
    SizeLimit,           // the process's limit on file size
    ReadOnlyDisk,
    ReadOnlyFile,
    FolderNotWritable,
    PermissionDenied,
    NotRegular,
    LinkToNothing,
    LinkToNotRegular,
    LinkUnfollowable,
    NotReadAtStart,      // the file was there but could not be read whole
    LongerThanImage,     // ram.dat past 65,536 bytes
    NotText,             // a configuration file holding NUL bytes (UTF-16 and the like)
    TooLarge,            // a configuration file past its limit
    Unreadable,
    Count,
};

// 1000, 2000 or 3000; English until set, and for any other number.
void SetFileMessageLanguage(int language);

// Windows-1250.
std::string FileProblemText(FileProblem problem);

// The reason for a failed system call: a known cause in the interface's
// language, else the system's own wording.
std::string FileErrorText(int error);

} // namespace orbela
