#pragma once

// Warehouses the benchmarks generate: items of the catalog placed first-fit,
// as a server fills an empty warehouse.
#include "catalog/catalog.h"
#include "codes/shop_code.h"
#include "codes/vault_code.h"
#include "storage/storage.h"

#include <utility>
#include <vector>

namespace bench {

// Every item of the catalog, as (class, index).
inline std::vector<std::pair<int, int>> catalogItems(const vs::Catalog& catalog)
{
    std::vector<std::pair<int, int>> items;
    for (int c = 0; c < 16; ++c)
        for (int t = 0; t < 32; ++t)
            if (catalog.item(c, t))
                items.emplace_back(c, t);
    return items;
}

// Puts the item (durability 20) with `serial` at the first free place of the
// warehouse it fits, marking its cells in `taken`; false when it fits nowhere.
inline bool placeFirstFit(vs::Storage& storage, std::vector<bool>& taken, const vs::Catalog& catalog, int cls,
                          int index, int level, int32_t serial)
{
    vs::clsShopCode shop;
    shop.classIndex = static_cast<int16_t>(cls);
    shop.typeIndex = static_cast<int16_t>(index);
    shop.level = static_cast<int16_t>(level);
    shop.dur = 20;
    vs::clsVaultCode vault;
    vault.setId(serial);
    const vs::StorageSlot code = *vs::slotFromHex(vault.getCode(shop));
    const vs::StorageCell size = vs::slotItemSize(code, catalog);
    for (int cell = 0; cell < vs::kWarehouseSlots; ++cell) {
        const int x = cell % 8, y = cell / 8;
        bool fits = x + size.x <= 8 && y + size.y <= 15;
        for (int cy = y; fits && cy < y + size.y; ++cy)
            for (int cx = x; fits && cx < x + size.x; ++cx)
                fits = !taken[static_cast<size_t>(cy * 8 + cx)];
        if (!fits)
            continue;
        for (int cy = y; cy < y + size.y; ++cy)
            for (int cx = x; cx < x + size.x; ++cx)
                taken[static_cast<size_t>(cy * 8 + cx)] = true;
        storage.contents[static_cast<size_t>(cell)] = code;
        return true;
    }
    return false;
}

}  // namespace bench
