#pragma once

#include <array>
#include <string>
#include <vector>

// The constant tables of the editor.
namespace vs {

// Display name of each class 0..15.
const std::array<std::string, 16>& arrClassNames();

// Classes of each category group, in the order the class selector receives them:
// 0 "Armour & Shields", 1 "Weapons & Staves", 2 "Miscellaneous Items".
const std::array<std::vector<int>, 3>& arrCatClasses();

// Tool-tips of the three category buttons.
const std::array<std::string, 3>& categoryToolTips();

// Option selector labels: row 0..2, option level 0..4.
const std::array<std::array<std::string, 5>, 3>& arrOptNames();

// The option label row for an item: 1 for shields (class 6), 2 for class 13
// items 8..13, 0 for everything else.
int optionRow(int classIndex, int itemIndex);

}  // namespace vs
