#pragma once

#include <QRect>

namespace vs {

// Layout is given in twips (1/1440 inch): 15 twips to a pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return (value + (value >= 0 ? 7 : -7)) / 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

}  // namespace vs
