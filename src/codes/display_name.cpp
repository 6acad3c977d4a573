#include "codes/display_name.h"

#include "catalog/tables.h"
#include "catalog/text_utils.h"

namespace vs {

std::string composeDisplayName(const Catalog& catalog, const NameSubject& item,
                               std::string_view optionLabel, int editMode)
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
        if (editMode == kBagDocument)
            name.insert(0, "Excellent ");
        else
            name += "+Luck";
    }
    return name;
}

std::string_view optionLabelFor(int classIndex, int itemIndex, int optLevel)
{
    if (optLevel < 0 || optLevel > 4)
        return {};
    return arrOptNames()[optionRow(classIndex, itemIndex)][optLevel];
}

}  // namespace vs
