#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vs {

// The whole content of a file. Throws VaultError(FileNotFound) when the file is
// missing, is not a regular file or cannot be read.
std::string readFileBytes(const std::filesystem::path& path);

// Replaces `path` with `bytes`. Normally through a temporary file, so that a
// failure leaves the old file as it was:
//
// - A symbolic link is followed to the file it finally names (chains and
//   relative links included); that file is replaced and the link stays a link.
//   A link to a file that does not exist yet creates that file when its
//   folder exists.
// - An existing file that the user may not write is refused and left
//   untouched: one without any write permission bit, with EACCES even for
//   root, and one that access(W_OK) rejects, with access's error (EACCES, or
//   EROFS on a read-only mount). A folder in the target's place is EISDIR.
// - The bytes go to a temporary file beside the target, which is flushed and
//   renamed over it. The replacement keeps the old file's permission bits and,
//   where the process is allowed to set them (root), its owner and group. A
//   new file gets 0666 less the umask.
// - Where the folder refuses the temporary file or the rename (no write
//   permission on it, or a sticky folder and another user's file) but the
//   existing file is writable, the file is rewritten in place instead: same
//   inode, truncated to the new size and flushed. Only here can a failure part
//   way leave the file partly written. With no existing file the folder's
//   error (EACCES) is thrown.
// - No temporary file stays behind on any failure.
//
// Throws std::system_error with the errno value as its code(); what() names
// `path`.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Keeps the file as it stands beside it as PATH.bak, replacing an older one
// (a symbolic link there is replaced, not followed), through
// writeFileAtomically and as private as the file itself. Returns false,
// doing nothing, when `path` is no regular file (nothing to keep). Throws
// std::system_error when the file cannot be read or the copy not written.
bool keepBackupCopy(const std::filesystem::path& path);

}  // namespace vs
