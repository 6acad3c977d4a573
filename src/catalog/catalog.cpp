#include "catalog/catalog.h"

#include "catalog/tables.h"

namespace vs {

int16_t Catalog::getCat(int classIndex)
{
    const auto& groups = arrCatClasses();
    for (size_t g = 0; g < groups.size(); ++g)
        for (int c : groups[g])
            if (c == classIndex)
                return static_cast<int16_t>(g);
    return -1;
}

bool Catalog::itemExist(int classIndex, int typeIndex) const
{
    return item(classIndex, typeIndex) != nullptr;
}

const clsItemProperty* Catalog::item(int classIndex, int typeIndex) const
{
    if (classIndex < 0 || classIndex >= kClassCount || typeIndex < 0 || typeIndex >= kItemsPerClass)
        return nullptr;
    const auto& cell = arrItems[classIndex][typeIndex];
    return cell ? &*cell : nullptr;
}

bool Catalog::hasSubTypes(int itemId) const
{
    for (const auto& row : arrSubTypes)
        if (row.id == itemId)
            return true;
    return false;
}

bool Catalog::subTypeExist(int itemId, int lvl) const
{
    return getSubType(itemId, lvl) != nullptr;
}

const clsSubTypeProperty* Catalog::getSubType(int id, int level) const
{
    for (const auto& row : arrSubTypes)
        if (row.id == id && row.level == level)
            return &row;
    return nullptr;
}

TextEncoding namesEncoding(const Catalog& catalog, const TextEncoding& chosen)
{
    std::string names;
    for (const auto& row : catalog.arrItems)
        for (const auto& item : row)
            if (item)
                names.append(item->name).append(1, '\n');
    for (const clsSubTypeProperty& subType : catalog.arrSubTypes)
        names.append(subType.name).append(1, '\n');
    return shownEncoding(names, chosen);
}

}  // namespace vs
