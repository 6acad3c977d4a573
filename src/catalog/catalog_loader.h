#pragma once

#include "catalog/catalog.h"

#include <filesystem>
#include <string_view>

namespace vs {

inline constexpr std::string_view kItemFileName = "item(Kor).txt";
inline constexpr std::string_view kSubTypeFileName = "subtypes.txt";

// Fills catalog.arrItems from the bytes of an item file. `fileLabel` names the
// file in error details. Throws VaultError as the data-file rules demand.
void loadItemCatalog(std::string_view bytes, Catalog& catalog, std::string_view fileLabel);

// Appends the rows of a subtype file to catalog.arrSubTypes.
void loadSubTypes(std::string_view bytes, Catalog& catalog, std::string_view fileLabel);

// Start-up's steps 7 and 8: the item file, then the subtype file, from `dataDir`
// (file names matched without regard to case). Throws VaultError.
Catalog loadDataFolder(const std::filesystem::path& dataDir);

}  // namespace vs
