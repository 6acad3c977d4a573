// The shop grid: where the server puts a shop's goods.
#include "catalog/catalog_loader.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "grid/shop_grid.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>

namespace vs {
namespace {

// A catalog with items of the sizes the cases need, in class 0.
Catalog sizedCatalog()
{
    Catalog catalog;
    const struct {
        int index, width, height;
        const char* name;
    } items[] = {{0, 1, 1, "Gem"}, {1, 2, 4, "Spear"}, {2, 2, 2, "Shield"}, {3, 8, 1, "Banner"},
                 {4, 9, 1, "Too Wide"}, {5, 1, 16, "Too Tall"}, {6, 0, 1, "Flat"}};
    for (const auto& i : items)
        catalog.arrItems[0][static_cast<size_t>(i.index)] =
            clsItemPropertyCreate(i.name, static_cast<int16_t>(i.width), static_cast<int16_t>(i.height), 0);
    return catalog;
}

EntryList shopOf(const std::vector<int>& indexes)
{
    EntryList entries;
    for (int index : indexes)
        entries.emplace_back("0," + std::to_string(index) + ",0,0,0,0,0", kItemEntry);
    return entries;
}

TEST(ShopGrid, AListedLimitCountsTheRestOnlyOnceTheGridIsFull)
{
    // Random shops of gems, spears, shields and unknown items: with a limit, the
    // items looked at are those of the whole layout, and the rest are counted.
    const Catalog catalog = sizedCatalog();
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<int> indexes(static_cast<size_t>(random() % 400));
        for (int& index : indexes)
            index = static_cast<int>(random() % 4 == 3 ? 9 : random() % 3);
        const EntryList shop = shopOf(indexes);
        const ShopGrid all = layOutShop(shop, catalog);
        const size_t limit = random() % 60;
        const ShopGrid some = layOutShop(shop, catalog, specLayout(0), limit);
        ASSERT_LE(some.items.size(), all.items.size());
        EXPECT_EQ(some.items.size() + some.moreNotPlaced, all.items.size()) << "round " << round;
        EXPECT_EQ(some.cells, all.cells) << "round " << round;
        size_t notPlaced = 0;
        for (size_t i = 0; i < some.items.size(); ++i) {
            EXPECT_EQ(some.items[i].fate, all.items[i].fate);
            EXPECT_EQ(some.items[i].x, all.items[i].x);
            notPlaced += some.items[i].fate != GridItem::Fate::Placed;
        }
        // Only past a full grid and the listed entries does counting begin.
        if (some.moreNotPlaced > 0) {
            EXPECT_GE(notPlaced, limit);
            EXPECT_TRUE(std::all_of(all.cells.begin(), all.cells.end(), [](int cell) { return cell >= 0; }));
        }
        EXPECT_EQ(all.moreNotPlaced, 0u);
    }
}

TEST(ShopGrid, ATallItemGoesBesideARowOfSmallOnes)
{
    const Catalog catalog = sizedCatalog();
    // Seven gems fill row 0 up to column 6; the 2 x 4 spear cannot start at
    // column 7 (too wide there), so it starts on row 1 at column 0.
    EntryList entries = shopOf({0, 0, 0, 0, 0, 0, 0, 1, 0});
    entries.insert(entries.begin() + 3, ListEntry("// between", kCommentEntry));
    const ShopGrid grid = layOutShop(entries, catalog);
    ASSERT_EQ(grid.items.size(), 9u);
    EXPECT_EQ(grid.items[7].entry, 8u) << "comments take no place but keep the entries' indexes";
    EXPECT_EQ(grid.items[7].x, 0);
    EXPECT_EQ(grid.items[7].y, 1);
    EXPECT_EQ(grid.items[8].x, 7) << "the next gem fills the hole at the end of row 0";
    EXPECT_EQ(grid.items[8].y, 0);
    for (int y = 1; y <= 4; ++y)
        for (int x = 0; x <= 1; ++x)
            EXPECT_EQ(grid.at(x, y), 7);
    EXPECT_EQ(grid.at(2, 1), -1);
}

TEST(ShopGrid, AnItemThatFitsOnlyLowerDown)
{
    const Catalog catalog = sizedCatalog();
    // A gem at (0,0), a banner needs a whole row: row 1.
    const ShopGrid grid = layOutShop(shopOf({0, 3, 2}), catalog);
    EXPECT_EQ(grid.items[1].y, 1);
    EXPECT_EQ(grid.items[1].x, 0);
    // The 2 x 2 shield would reach into row 1 anywhere on row 0: it goes below the banner.
    EXPECT_EQ(grid.items[2].x, 0);
    EXPECT_EQ(grid.items[2].y, 2);
}

TEST(ShopGrid, AFullGridSellsNoMore)
{
    const Catalog catalog = sizedCatalog();
    const ShopGrid grid = layOutShop(shopOf(std::vector<int>(121, 0)), catalog);
    for (size_t i = 0; i < 120; ++i) {
        EXPECT_EQ(grid.items[i].fate, GridItem::Fate::Placed);
        EXPECT_EQ(grid.items[i].x, static_cast<int>(i % 8));
        EXPECT_EQ(grid.items[i].y, static_cast<int>(i / 8));
    }
    EXPECT_EQ(grid.items[120].fate, GridItem::Fate::NoRoom);
    EXPECT_EQ(grid.items[120].x, -1);
    EXPECT_NE(gridMap(grid, catalog).find("not placed: 121 Gem (no room)"), std::string::npos);
}

TEST(ShopGrid, UnknownAndMisSizedItemsTakeNoPlace)
{
    const Catalog catalog = sizedCatalog();
    EntryList entries = shopOf({4, 5, 6, 9, 0});
    entries.emplace_back("16,0,0,0,0,0,0", kItemEntry);
    const ShopGrid grid = layOutShop(entries, catalog);
    EXPECT_EQ(grid.items[0].fate, GridItem::Fate::BadSize);
    EXPECT_EQ(grid.items[1].fate, GridItem::Fate::BadSize);
    EXPECT_EQ(grid.items[2].fate, GridItem::Fate::BadSize);
    EXPECT_EQ(grid.items[3].fate, GridItem::Fate::UnknownItem);
    EXPECT_EQ(grid.items[5].fate, GridItem::Fate::UnknownItem) << "class 16 is outside the catalog";
    EXPECT_EQ(grid.items[4].x, 0) << "the gem after them takes the first cell";
    EXPECT_EQ(grid.items[4].y, 0);
}

TEST(ShopGrid, TheMapNumbersItemEntriesRightAligned)
{
    const Catalog catalog = sizedCatalog();
    const std::string map = gridMap(layOutShop(shopOf({2, 0}), catalog), catalog);
    EXPECT_EQ(map.substr(0, 64), "  1   1   2   .   .   .   .   .\n  1   1   .   .   .   .   .   .\n");
    EXPECT_EQ(std::count(map.begin(), map.end(), '\n'), 15);
}

TEST(ShopGrid, EveryCorpusShopIsLaidOutByTheRule)
{
    VS_REQUIRE_CORPUS();
    const Catalog catalog = loadDataFolder(test::shippedDataDir());
    int files = 0;
    for (const auto& file : std::filesystem::directory_iterator(test::corpusDir())) {
        if (editModeForFileName(file.path().filename().string()) != 0)
            continue;
        ++files;
        SCOPED_TRACE(file.path().filename().string());
        const ShopGrid grid = layOutShop(readListFile(test::readBytes(file.path()), 0).entries, catalog);
        // Replay: each placed item lies inside, overlaps nothing placed before it,
        // and no earlier position in the scan was free for it.
        std::array<bool, kGridColumns * kGridRows> taken{};
        auto freeAt = [&](int x, int y, int w, int h) {
            for (int dy = 0; dy < h; ++dy)
                for (int dx = 0; dx < w; ++dx)
                    if (taken[static_cast<size_t>((y + dy) * kGridColumns + x + dx)])
                        return false;
            return true;
        };
        for (size_t i = 0; i < grid.items.size(); ++i) {
            const GridItem& item = grid.items[i];
            if (item.fate != GridItem::Fate::Placed && item.fate != GridItem::Fate::NoRoom)
                continue;
            for (int y = 0; y + item.height <= kGridRows; ++y)
                for (int x = 0; x + item.width <= kGridColumns; ++x) {
                    if (item.fate == GridItem::Fate::Placed && y * kGridColumns + x >= item.y * kGridColumns + item.x)
                        break;
                    EXPECT_FALSE(freeAt(x, y, item.width, item.height)) << "item " << i << " could go at " << x << "," << y;
                }
            if (item.fate != GridItem::Fate::Placed)
                continue;
            ASSERT_LE(item.x + item.width, kGridColumns);
            ASSERT_LE(item.y + item.height, kGridRows);
            ASSERT_TRUE(freeAt(item.x, item.y, item.width, item.height)) << "item " << i << " overlaps";
            for (int dy = 0; dy < item.height; ++dy)
                for (int dx = 0; dx < item.width; ++dx) {
                    taken[static_cast<size_t>((item.y + dy) * kGridColumns + item.x + dx)] = true;
                    EXPECT_EQ(grid.at(item.x + dx, item.y + dy), static_cast<int>(i));
                }
        }
    }
    EXPECT_GE(files, 7);
}

}  // namespace
}  // namespace vs
