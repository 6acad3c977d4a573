#include "codes/display_name.h"

#include "catalog/tables.h"
#include "catalog/text_utils.h"
#include "codes/vault_decode.h"

#include <algorithm>

namespace vs {

std::string composeDisplayName(const Catalog& catalog, const NameSubject& item,
                               std::string_view optionLabel, int nameRule)
{
    const clsItemProperty* entry = catalog.item(item.classIndex, item.typeIndex);
    if (!entry)
        return "Unknown Item";
    std::string name = entry->name;
    const int itemId = makeId(item.classIndex, item.typeIndex);
    if (const clsSubTypeProperty* sub = catalog.getSubType(itemId, item.level))
        name = sub->name;
    else if (item.level > 0 || item.optLevel > 0) {
        name += '+';
        name += std::to_string(item.level);
    }
    if (item.optLevel > 0)
        name += optionLabel;
    if (item.skill == 1)
        name += "+Skill";
    if (item.luck == 1) {
        if (nameRule == kBagNames)
            name.insert(0, "Excellent ");
        else
            name += "+Luck";
    }
    if (nameRule == kVaultNames && item.excellent)
        name.insert(0, "Excellent ");
    return name;
}

std::string vaultItemName(const Catalog& catalog, const DecodedVault& item)
{
    const bool excellent = std::any_of(item.excellent.begin(), item.excellent.end(), [](bool b) { return b; });
    const NameSubject subject{item.classIndex, item.typeIndex, std::min(item.level, 12), item.optLevel,
                              item.skill,      item.luck,      excellent};
    return composeDisplayName(catalog, subject, optionLabelFor(item.classIndex, item.typeIndex, item.optLevel),
                              kVaultNames);
}

std::string_view optionLabelFor(int classIndex, int itemIndex, int optLevel)
{
    if (optLevel < 0 || optLevel > 4)
        return {};
    return arrOptNames()[optionRow(classIndex, itemIndex)][optLevel];
}

}  // namespace vs
