#pragma once

#include <filesystem>
#include <string_view>

namespace vs {

// The file `name` in `dir`; when no file has exactly that name, one whose name
// differs only in letter case. Without either, dir / name (which then fails to open).
std::filesystem::path resolveDataFile(const std::filesystem::path& dir, std::string_view name);

// True when `dir` holds the item catalog.
bool holdsCatalog(const std::filesystem::path& dir);

// Where the data files are read from when no folder is given: the working
// folder's data/ when it holds the catalog, else the data folder built or
// installed beside the program in `programDir`, else the working folder's data/.
std::filesystem::path defaultDataFolder(const std::filesystem::path& programDir);

}  // namespace vs
