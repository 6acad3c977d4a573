#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vs {

// The whole content of a file. Throws VaultError(FileNotFound) when the file is
// missing, is not a regular file or cannot be read.
std::string readFileBytes(const std::filesystem::path& path);

// Replaces `path` with `bytes` so that a failure leaves the old file as it was:
// writes a temporary file beside it, flushes it and renames it over the target.
// An existing target keeps its permission bits. Throws std::system_error.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vs
