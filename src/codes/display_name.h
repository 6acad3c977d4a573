#pragma once

#include "catalog/catalog.h"
#include "codes/item_columns.h"

#include <string>
#include <string_view>

namespace vs {

// Document kinds, the values of the editor's editMode.
inline constexpr int kShopDocument = 0;
inline constexpr int kBagDocument = 1;

// What the display name is composed from.
struct NameSubject {
    int classIndex = 0;  // the catalog item the name is taken from
    int typeIndex = 0;
    int level = 0;
    int optLevel = 0;
    int skill = 0;
    int luck = 0;
    bool excellent = false;  // any excellent option (named by the vault code's rule only)
};

// The item's display name: the catalog name (or "Unknown Item", which gets
// nothing added), replaced by the subtype's name when one exists for the level,
// else "+level" when level or option is above 0; then the option label, "+Skill",
// and by the naming rule (NameRule): for luck "+Luck" in a shop document or the
// prefix "Excellent " in an item-bag document; by the vault code's rule "+Luck"
// for luck and the prefix "Excellent " for any excellent option.
std::string composeDisplayName(const Catalog& catalog, const NameSubject& item,
                               std::string_view optionLabel, int nameRule);

// The name of the item a vault code describes, by the vault code's rule; its
// level shown as the editor shows it (at most 12).
std::string vaultItemName(const Catalog& catalog, const struct DecodedVault& item);

// The label the option selector shows for the item's option level.
std::string_view optionLabelFor(int classIndex, int itemIndex, int optLevel);

}  // namespace vs
