#pragma once

#include <QColor>

namespace vs {

// The colour an item is drawn in on a grid: weapons, armour, the rest
// (jewellery, wings, potions...) and no group.
inline QColor itemGroupColor(int group)
{
    switch (group) {
    case 0:
        return QColor(214, 120, 96);
    case 1:
        return QColor(104, 150, 206);
    case 2:
        return QColor(126, 184, 112);
    default:
        return QColor(180, 180, 180);
    }
}

}  // namespace vs
