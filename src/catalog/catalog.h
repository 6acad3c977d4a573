#pragma once

#include "catalog/text_encoding.h"
#include "catalog/item_records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vs {

inline constexpr int kClassCount = 16;
inline constexpr int kItemsPerClass = 32;
inline constexpr int kMaxSubTypes = 32767;

// The item catalog and the subtype table, read once at start-up and then only queried.
class Catalog {
public:
    using ItemTable = std::array<std::array<std::optional<clsItemProperty>, kItemsPerClass>, kClassCount>;

    ItemTable arrItems;
    std::vector<clsSubTypeProperty> arrSubTypes;

    // Category group 0..2 of a class, -1 for none.
    static int16_t getCat(int classIndex);

    bool itemExist(int classIndex, int typeIndex) const;
    // The catalog item, or nullptr when itemExist is false.
    const clsItemProperty* item(int classIndex, int typeIndex) const;

    bool hasSubTypes(int itemId) const;
    bool subTypeExist(int itemId, int lvl) const;
    // The first row with that id and level, or nullptr.
    const clsSubTypeProperty* getSubType(int id, int level) const;
};

// The encoding the catalog's names are shown in: the rule for a file's texts
// applied to all its item and subtype names together (the loader keeps no bytes).
TextEncoding namesEncoding(const Catalog& catalog, const TextEncoding& chosen);

}  // namespace vs
