#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace vs {

// The program's pictures, drawn rather than shipped as files.
// Category buttons: 0 an armour piece, 1 a sword, 2 a box with a jewel.
QIcon categoryIcon(int group);
// A double arrow, up or down, for the list's shift buttons.
QIcon doubleArrowIcon(bool up);
QPixmap bannerPixmap(QSize size);

}  // namespace vs
