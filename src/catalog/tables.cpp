#include "catalog/tables.h"

namespace vs {

const std::array<std::string, 16>& arrClassNames()
{
    static const std::array<std::string, 16> names = {
        "Swords", "Axes", "Blunt Weapons", "Pole Arms",
        "Bows,Arrows,Crossbows,Bolts", "Staves", "Shields", "Helmets",
        "Armor", "Pants", "Gloves", "Boots",
        "Wings,Orbs,Chaos Jewel", "Guardians,Jewelry,Feather,Fruit,BC",
        "Potions,Box,Jewels,DS,Quest", "Scrolls",
    };
    return names;
}

const std::array<std::vector<int>, 3>& arrCatClasses()
{
    static const std::array<std::vector<int>, 3> groups = {
        std::vector<int>{6, 7, 8, 9, 10, 11},
        std::vector<int>{0, 1, 2, 3, 4, 5},
        std::vector<int>{12, 13, 14, 15},
    };
    return groups;
}

const std::array<std::string, 3>& categoryToolTips()
{
    static const std::array<std::string, 3> tips = {
        "Armour & Shields", "Weapons & Staves", "Miscellaneous Items"};
    return tips;
}

const std::array<std::array<std::string, 5>, 3>& arrOptNames()
{
    static const std::array<std::array<std::string, 5>, 3> rows = {{
        {"0", "+4", "+8", "+12", "+16"},
        {"0", "+5", "+10", "+15", "+20"},
        {"0", "+1%", "+2%", "+3%", "+4%"},
    }};
    return rows;
}

int optionRow(int classIndex, int itemIndex)
{
    if (classIndex == 6)
        return 1;
    if (classIndex == 13 && itemIndex >= 8 && itemIndex <= 13)
        return 2;
    return 0;
}

}  // namespace vs
