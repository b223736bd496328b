// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orbela {

// Replaces the file's content with `bytes`: writes a temporary file
// ".<name>.orbela-save-XXXXXX" (created exclusively, mode 0600) in the same
// folder, gives it the old file's owner and mode, flushes it to disk and
// renames it over the file, so that the file is either the old one or the
// new one, never half-written. Raises Error "Unable to write to <full
// path>: <reason>" (the reason in the interface's language) when any step
// fails, removing the temporary file; the old file is then as it was.
//
// What may be replaced: a regular file, a name not yet taken, or a link to
// a regular file, which is written through (its target is replaced, the
// link stays). A link to anything else or to nothing, and anything that is
// not a regular file, is refused ("Unable to write to <path>: it is not a
// regular file" and the like) and left untouched.
//
// A file that its mode makes read-only (for anyone, root included) is
// refused. An existing file that may be written is rewritten in place
// instead where the folder takes no new files, or where replacing it would
// change its owner: the space is reserved first and the size checked
// afterwards; only then can a failure (of the disk itself) leave it damaged.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Removes the temporary files an earlier save left when it was killed:
// only names of the pattern above, only beside the file (and beside its
// target when it is a link), only the process's own, and only those no
// running save holds.
void RemoveStaleTemporaryFiles(const std::filesystem::path& file);

// The "Unable to write to %s" message for a path, in Windows-1250.
std::string UnableToWriteMessage(const std::filesystem::path& file);

} // namespace orbela
