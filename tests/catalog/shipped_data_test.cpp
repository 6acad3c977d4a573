#include "catalog/catalog_loader.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

// The default catalog that ships with the program must load and be useful.
TEST(ShippedData, LoadsWithEveryClassFilled)
{
    Catalog catalog = loadDataFolder(test::shippedDataDir());
    int total = 0;
    for (int c = 0; c < kClassCount; ++c) {
        int inClass = 0;
        for (int t = 0; t < kItemsPerClass; ++t)
            inClass += catalog.itemExist(c, t);
        EXPECT_GT(inClass, 0) << "class " << c << " is empty";
        total += inClass;
    }
    EXPECT_GE(total, 150);
    EXPECT_TRUE(catalog.itemExist(0, 0)) << "start-up shows class 0, item 0";
    EXPECT_EQ(catalog.item(15, 0)->dur, 0) << "scrolls carry no durability";
}

TEST(ShippedData, SubtypeBlocksWithAndWithoutLevelZero)
{
    Catalog catalog = loadDataFolder(test::shippedDataDir());
    int withZero = 0, withoutZero = 0;
    for (int id = 0; id < 512; ++id) {
        if (!catalog.hasSubTypes(id))
            continue;
        EXPECT_TRUE(catalog.itemExist(id / 32, id % 32)) << "subtypes of a missing item " << id;
        (catalog.subTypeExist(id, 0) ? withZero : withoutZero)++;
    }
    EXPECT_GE(withZero, 2);
    EXPECT_GE(withoutZero, 2);
    for (const auto& row : catalog.arrSubTypes) {
        EXPECT_GE(row.level, 0);
        EXPECT_LE(row.level, 12) << row.name;
    }
}

}  // namespace
}  // namespace vs
