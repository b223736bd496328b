// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notetaker's memory image "ram.dat" in the current directory: 65,536
// raw bytes, byte i at offset i.

#include <filesystem>

#include "runtime/runtime_state.h"

namespace orbela {

inline const std::filesystem::path RamImageFileName = "ram.dat";

// Reads as many bytes as the file holds, at most 65,536, from index 0 on;
// the rest of the image is left as it is (the caller zeroes it first). A
// missing file reads nothing and is no error. A file that cannot be read
// raises Error after keeping what was read; one that is not a regular file
// (a folder, a device, a FIFO) is not read and raises Error. Removes first
// what killed saves left beside the file (RemoveStaleTemporaryFiles).
void LoadRamImage(RamImage& image, const std::filesystem::path& file = RamImageFileName);

// Writes all 65,536 bytes, replacing the file through a temporary file beside
// it. Raises Error "Unable to write to <full path>" on failure; the old file
// is then left as it was.
void SaveRamImage(const RamImage& image, const std::filesystem::path& file = RamImageFileName);

} // namespace orbela
