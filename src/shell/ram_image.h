// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notetaker's memory image "ram.dat" in the current directory: 65,536
// raw bytes, byte i at offset i.

#include <filesystem>
#include <optional>
#include <string>

#include "runtime/runtime_state.h"

namespace orbela {

inline const std::filesystem::path RamImageFileName = "ram.dat";

// One run's memory image file. The rule: a file that is there at start but
// cannot be read whole (unreadable, a read that fails, longer than the
// image, not a regular file) is reported at start and never replaced by
// this run; its save is refused with the reason, so what the player had
// stays for them to look at. A missing file, or one shorter than the image,
// is read as it is and saved normally.
class RamImageFile {
public:
    explicit RamImageFile(std::filesystem::path path = RamImageFileName) : path_(std::move(path)) {}

    // Reads as many bytes as the file holds, at most 65,536, from index 0
    // on; the rest of the image is left as it is (the caller zeroes it
    // first). A missing file reads nothing and is no error. Raises Error
    // "Unable to read <full path>" (and the reason) for a file that cannot
    // be read whole. Removes first what killed saves left beside the file
    // (RemoveStaleTemporaryFiles).
    void Load(RamImage& image);

    // Writes all 65,536 bytes through WriteFileAtomically; refused (Error
    // "Unable to write to <full path>: <reason>") after a Load that could not
    // read the file whole.
    void Save(const RamImage& image) const;

private:
    std::filesystem::path path_;
    std::optional<std::string> refusal_;
};

} // namespace orbela
