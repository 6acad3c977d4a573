#pragma once

#include <cstdint>
#include <string>

namespace vs {

// One item of the item catalog.
struct clsItemProperty {
    std::string name;
    int16_t width = 0;
    int16_t height = 0;
    int16_t dur = 0;
};

// One row of the subtype table: the name an item bears at one item level.
struct clsSubTypeProperty {
    int16_t id = 0;
    int16_t level = 0;
    std::string name;
};

inline clsItemProperty clsItemPropertyCreate(std::string newName, int16_t newWidth,
                                             int16_t newHeight, int16_t newDur)
{
    return clsItemProperty{std::move(newName), newWidth, newHeight, newDur};
}

// Note the argument order (id, name, level), which differs from the fields'.
inline clsSubTypeProperty clsSubTypeCreate(int16_t id, std::string name, int16_t level)
{
    return clsSubTypeProperty{id, level, std::move(name)};
}

}  // namespace vs
