#include "storage/storage_text.h"

#include "catalog/catalog.h"
#include "codes/display_name.h"
#include "codes/vault_decode.h"

#include <algorithm>

namespace vs {

namespace {

bool isWordCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string mapCell(const std::string& text)
{
    return std::string(3 - std::min<size_t>(3, text.size()), ' ') + text;
}

}  // namespace

std::string storageItemName(const Catalog& catalog, const StorageSlot& slot)
{
    return vaultItemName(catalog, *decodeVaultCode(slotHex(slot)));
}

bool isOwnerName(std::string_view text)
{
    return !text.empty() && text.size() <= 10 && std::all_of(text.begin(), text.end(), isWordCharacter);
}

bool isSqlIdentifier(std::string_view text)
{
    if (text.empty() || text.size() > 128 || (text[0] >= '0' && text[0] <= '9'))
        return false;
    return std::all_of(text.begin(), text.end(), isWordCharacter);
}

StorageTable defaultStorageTable(StorageKind kind)
{
    if (kind == StorageKind::Warehouse)
        return {"warehouse", "Items", "AccountID"};
    return {"Character", "Inventory", "Name"};
}

std::string storageSql(const Storage& storage, std::string_view owner, const StorageTable& where)
{
    if (!isOwnerName(owner))
        throw StorageError("the name must be 1 to 10 letters, digits or underscores, not '" + std::string(owner) +
                           "'");
    for (const std::string* identifier : {&where.table, &where.column, &where.keyColumn})
        if (!isSqlIdentifier(*identifier))
            throw StorageError("'" + *identifier +
                               "' is not a table or column name: a letter or underscore followed by letters, digits "
                               "or underscores (at most 128)");
    return "UPDATE " + where.table + " SET " + where.column + " = 0x" + storageHex(storage) + " WHERE " +
           where.keyColumn + " = '" + std::string(owner) + "';\n";
}

std::string storageMap(const Storage& storage, const Catalog& catalog)
{
    const int rows = storageRows(storage.kind);
    const std::vector<int> cells = storageOccupancy(storage, catalog);
    std::string map;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < kStorageColumns; ++x) {
            const int slot = cells[static_cast<size_t>(y * kStorageColumns + x)];
            if (x > 0)
                map += ' ';
            map += mapCell(slot < 0 ? "." : std::to_string(slot));
        }
        map += '\n';
    }
    const auto slotAt = [&](int s) -> const StorageSlot& { return storage.contents[static_cast<size_t>(s)]; };
    if (storage.kind == StorageKind::Inventory)
        for (int s = 0; s < kEquippedSlots; ++s)
            map += std::string(equippedSlotName(s)) + ": " +
                   (isEmptySlot(slotAt(s)) ? std::string("-")
                                           : std::to_string(s) + " " + storageItemName(catalog, slotAt(s))) +
                   '\n';
    // An item the drawing cannot show as it lies: its rectangle leaves the
    // grid, or an item in a lower slot already holds one of its cells.
    for (int s = 0; s < static_cast<int>(storage.contents.size()); ++s) {
        const std::optional<StorageCell> at = slotCell(storage.kind, s);
        if (!at || isEmptySlot(slotAt(s)))
            continue;
        const StorageCell size = slotItemSize(slotAt(s), catalog);
        std::string why;
        int holder = s;
        for (int y = at->y; y < std::min(rows, at->y + size.y) && holder == s; ++y)
            for (int x = at->x; x < std::min(kStorageColumns, at->x + size.x) && holder == s; ++x)
                holder = cells[static_cast<size_t>(y * kStorageColumns + x)];
        if (at->x + size.x > kStorageColumns || at->y + size.y > rows)
            why = "leaves the grid";
        else if (holder != s)
            why = "under the item in slot " + std::to_string(holder);
        if (!why.empty())
            map += "misplaced: " + std::to_string(s) + " " + storageItemName(catalog, slotAt(s)) + " (" + why + ")\n";
    }
    return map;
}

}  // namespace vs
