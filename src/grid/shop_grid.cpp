#include "grid/shop_grid.h"

#include "catalog/catalog.h"
#include "catalog/token_value.h"
#include "codes/display_name.h"
#include "document/list_reader.h"

#include <algorithm>
#include <cmath>

namespace vs {

namespace {

int fieldInt(std::string_view field)
{
    const double value = roundHalfEven(tokenValue(field));
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

bool fits(const ShopGrid& grid, int x, int y, int w, int h)
{
    for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx)
            if (grid.at(x + dx, y + dy) >= 0)
                return false;
    return true;
}

}  // namespace

EntryItem readEntryItem(const std::string& text, const ItemLayout& layout)
{
    const std::vector<std::string_view> pieces = entryPieces(text);
    EntryItem item;
    auto column = [&](ColumnRole role, int fallback) {
        const int at = layout.find(role);
        return at < 0 ? fallback : static_cast<size_t>(at) < pieces.size() ? fieldInt(pieces[static_cast<size_t>(at)]) : 0;
    };
    item.classIndex = column(ColumnRole::Class, 0);
    item.typeIndex = column(ColumnRole::Index, 0);
    item.level = column(ColumnRole::Level, 0);
    item.maxLevel = column(ColumnRole::MaxLevel, item.level);
    item.dur = column(ColumnRole::Durability, 0);
    item.skill = column(ColumnRole::Skill, 0);
    item.luck = column(ColumnRole::Luck, 0);
    item.optLevel = column(ColumnRole::Option, 0);
    item.excellent = layout.has(ColumnRole::Excellent) ? column(ColumnRole::Excellent, 0)
                                                      : column(ColumnRole::ExcellentFlag, 0);
    return item;
}

std::string entryDisplayName(const Catalog& catalog, const EntryItem& item, int nameRule)
{
    // Named as the editor names it once loaded: its properties within their ranges.
    const NameSubject subject{item.classIndex,
                              item.typeIndex,
                              std::clamp(item.level, 0, 12),
                              std::clamp(item.optLevel, 0, 4),
                              std::clamp(item.skill, 0, 1),
                              std::clamp(item.luck, 0, 1),
                              item.excellent != 0};
    if (!catalog.itemExist(item.classIndex, item.typeIndex))
        return composeDisplayName(catalog, subject, {}, nameRule);
    return composeDisplayName(catalog, subject,
                              subject.optLevel > 0 ? optionLabelFor(item.classIndex, item.typeIndex, subject.optLevel)
                                                   : std::string_view(),
                              nameRule);
}

ShopGrid layOutShop(const EntryList& entries, const Catalog& catalog, const FileLayout& layout, size_t listNotPlaced)
{
    ShopGrid grid;
    SectionTracker sections(layout);
    // Once too few cells are free for an item, no place is looked for: a
    // long list past a full grid costs a glance per item.
    int freeCells = kGridColumns * kGridRows;
    size_t notPlaced = 0;
    for (size_t e = 0; e < entries.size(); ++e) {
        if (freeCells == 0 && notPlaced >= listNotPlaced) {
            for (; e < entries.size(); ++e)
                grid.moreNotPlaced += entries[e].kind == kItemEntry;
            break;
        }
        const SectionPlace place = sections.place();
        if (entries[e].kind != kItemEntry) {
            sections.step(entries[e].text);
            continue;
        }
        GridItem placed;
        placed.entry = e;
        placed.item = readEntryItem(entries[e].text, layout.items);
        const int index = static_cast<int>(grid.items.size());
        if (place != SectionPlace::Items)
            placed.fate = GridItem::Fate::AfterEnd;
        else if (const clsItemProperty* known = catalog.item(placed.item.classIndex, placed.item.typeIndex)) {
            placed.width = known->width;
            placed.height = known->height;
            if (placed.width < 1 || placed.width > kGridColumns || placed.height < 1 || placed.height > kGridRows) {
                placed.fate = GridItem::Fate::BadSize;
            } else {
                placed.fate = GridItem::Fate::NoRoom;
                for (int y = 0; y + placed.height <= kGridRows && placed.x < 0 && placed.width * placed.height <= freeCells; ++y)
                    for (int x = 0; x + placed.width <= kGridColumns; ++x)
                        if (fits(grid, x, y, placed.width, placed.height)) {
                            placed.x = x;
                            placed.y = y;
                            placed.fate = GridItem::Fate::Placed;
                            break;
                        }
                for (int dy = 0; placed.x >= 0 && dy < placed.height; ++dy)
                    for (int dx = 0; dx < placed.width; ++dx)
                        grid.cells[static_cast<size_t>((placed.y + dy) * kGridColumns + placed.x + dx)] = index;
                if (placed.x >= 0)
                    freeCells -= placed.width * placed.height;
            }
        }
        notPlaced += placed.fate != GridItem::Fate::Placed;
        grid.items.push_back(placed);
    }
    return grid;
}

std::string gridMap(const ShopGrid& grid, const Catalog& catalog, const FileLayout& layout)
{
    std::string map;
    for (int y = 0; y < kGridRows; ++y) {
        for (int x = 0; x < kGridColumns; ++x) {
            const int index = grid.at(x, y);
            std::string cell = index < 0 ? "." : std::to_string(index + 1);
            if (x > 0)
                map += ' ';
            map += std::string(3 - std::min<size_t>(3, cell.size()), ' ') + cell;
        }
        map += '\n';
    }
    for (size_t i = 0; i < grid.items.size(); ++i) {
        const GridItem& item = grid.items[i];
        if (item.fate == GridItem::Fate::Placed)
            continue;
        const char* why = item.fate == GridItem::Fate::NoRoom        ? "no room"
                          : item.fate == GridItem::Fate::UnknownItem ? "not in the catalog"
                          : item.fate == GridItem::Fate::AfterEnd    ? "after the shop's end, not sold"
                                                                     : "size outside 8 x 15";
        map += "not placed: " + std::to_string(i + 1) + " " + entryDisplayName(catalog, item.item, layout.items.naming) +
               " (" + why + ")\n";
    }
    return map;
}

}  // namespace vs
