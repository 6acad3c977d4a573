#pragma once

#include "document/file_layout.h"
#include "document/list_entry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vs {

class Catalog;

// The properties an item entry's columns give, read as the server reads them:
// each column by the token value rule, rounded half to even, not limited. What
// the layout has no column for is 0 (the highest level: the lowest).
struct EntryItem {
    int classIndex = 0;
    int typeIndex = 0;
    int level = 0;
    int dur = 0;
    int skill = 0;
    int luck = 0;
    int optLevel = 0;
    int excellent = 0;  // the excellent options' bits, or the excellent flag
    int maxLevel = 0;
};
EntryItem readEntryItem(const std::string& text, const ItemLayout& layout);
inline EntryItem readEntryItem(const std::string& text, int editMode)
{
    return readEntryItem(text, specLayout(editMode).items);
}

// The name a document shows for the entry's item: the display name of the item
// the fields describe ("Unknown Item" for one the catalog lacks), by the naming
// rule of its layout (NameRule; a document kind names as its first layout).
std::string entryDisplayName(const Catalog& catalog, const EntryItem& item, int nameRule);

inline constexpr int kGridColumns = 8;
inline constexpr int kGridRows = 15;

// One item entry of a shop and where the server puts it.
struct GridItem {
    enum class Fate { Placed, NoRoom, UnknownItem, BadSize, AfterEnd };
    size_t entry = 0;  // index of the entry in the list
    EntryItem item;
    int width = 0;  // from the catalog; 0 for an unknown item
    int height = 0;
    int x = -1;  // top-left cell, -1 when not placed
    int y = -1;
    Fate fate = Fate::UnknownItem;
};

// A shop's goods as the server lays them out: item entries in list order, each
// at the first position (rows from the top, columns from the left) where its
// catalog rectangle lies inside the 8 x 15 grid and covers no taken cell. An
// item after the shop's "end" is not sold and takes no place.
struct ShopGrid {
    ShopGrid() { cells.fill(-1); }

    std::vector<GridItem> items;  // every item entry, in list order (see moreNotPlaced)
    // Item entries after `items` that were not looked at: the grid was full
    // and enough entries not placed were listed already. None is sold.
    size_t moreNotPlaced = 0;
    std::array<int, kGridColumns * kGridRows> cells;  // index into items, -1 for a free cell

    int at(int x, int y) const { return cells[static_cast<size_t>(y * kGridColumns + x)]; }
};
// With `listNotPlaced`, once the grid is full and that many entries were not
// placed, the remaining item entries are only counted (moreNotPlaced).
ShopGrid layOutShop(const EntryList& entries, const Catalog& catalog, const FileLayout& layout = specLayout(0),
                    size_t listNotPlaced = SIZE_MAX);

// The grid as a person reads it: 15 rows of 8 cells, each the 1-based number of
// the item entry covering it right-aligned in 3 characters, or " ." padded the
// same, cells one space apart; then a line for each item not placed.
std::string gridMap(const ShopGrid& grid, const Catalog& catalog, const FileLayout& layout = specLayout(0));

}  // namespace vs
