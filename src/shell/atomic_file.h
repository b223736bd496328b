// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orbela {

// Replaces the file's content with `bytes`: writes a temporary file in the
// same folder, flushes it to disk and renames it over the file, so that the
// file is either the old one or the new one, never half-written. Raises
// Error "Unable to write to <full path>" when any step fails, removing the
// temporary file.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The "Unable to write to %s" message for a path, in Windows-1250.
std::string UnableToWriteMessage(const std::filesystem::path& file);

} // namespace orbela
