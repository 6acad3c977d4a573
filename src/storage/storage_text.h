#pragma once

#include "storage/storage.h"

#include <string>
#include <string_view>

namespace vs {

class Catalog;

// The name the item in a slot goes by: as an item-bag document names it, with
// "Excellent" in front when any excellent option is set.
std::string storageItemName(const Catalog& catalog, const StorageSlot& slot);

// An account or character name the SQL statement may quote: 1 to 10 letters,
// digits or underscores, so that it can never end the quoted string.
bool isOwnerName(std::string_view text);
// A table or column name the statement may carry unquoted: a letter or
// underscore, then letters, digits or underscores, at most 128 in all.
bool isSqlIdentifier(std::string_view text);

// Where a kind of storage lives in the server's database.
struct StorageTable {
    std::string table;      // "warehouse" / "Character"
    std::string column;     // "Items" / "Inventory"
    std::string keyColumn;  // "AccountID" / "Name"
};
StorageTable defaultStorageTable(StorageKind kind);

// The statement that stores the storage for its owner:
// UPDATE table SET column = 0x... WHERE key = 'owner';
// StorageError when the owner or a name of the table is not one the rules
// above accept.
std::string storageSql(const Storage& storage, std::string_view owner, const StorageTable& where);

// The grid drawn as `grid --map` draws a shop (each cell the slot number of
// the item covering it, "." when free), then an inventory's equipped slots by
// name, then the items that lie outside the grid or under another item.
std::string storageMap(const Storage& storage, const Catalog& catalog);

}  // namespace vs
