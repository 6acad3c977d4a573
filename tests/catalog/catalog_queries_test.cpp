#include "catalog/catalog.h"
#include "catalog/catalog_loader.h"
#include "catalog/tables.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(GetCat, MapsEveryClassToItsGroup)
{
    EXPECT_EQ(Catalog::getCat(0), 1);
    EXPECT_EQ(Catalog::getCat(5), 1);
    EXPECT_EQ(Catalog::getCat(6), 0);
    EXPECT_EQ(Catalog::getCat(11), 0);
    EXPECT_EQ(Catalog::getCat(12), 2);
    EXPECT_EQ(Catalog::getCat(15), 2);
    EXPECT_EQ(Catalog::getCat(16), -1);
    EXPECT_EQ(Catalog::getCat(-1), -1);
}

TEST(Tables, EveryClassBelongsToExactlyOneGroup)
{
    std::array<int, 16> seen{};
    for (const auto& group : arrCatClasses())
        for (int c : group)
            ++seen.at(c);
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(seen[c], 1) << "class " << c;
}

TEST(Tables, OptionRowForShieldsAndJewelry)
{
    EXPECT_EQ(optionRow(6, 0), 1);
    EXPECT_EQ(optionRow(13, 7), 0);
    EXPECT_EQ(optionRow(13, 8), 2);
    EXPECT_EQ(optionRow(13, 13), 2);
    EXPECT_EQ(optionRow(13, 14), 0);
    EXPECT_EQ(optionRow(0, 9), 0);
    EXPECT_EQ(arrOptNames()[1][4], "+20");
    EXPECT_EQ(arrOptNames()[2][1], "+1%");
}

class Queries : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadItemCatalog("0\n1 1 3 0 0 0 \"Blade\"\n15\n31 1 1 0 0 0 \"Last\"", catalog, "items");
        loadSubTypes("0 1\n5 \"Blade Five\"\n5 \"Blade Five Again\"\n9 \"Blade Nine\"", catalog, "subtypes");
    }
    Catalog catalog;
};

TEST_F(Queries, ItemExistOnlyForFilledCellsInsideTheTable)
{
    EXPECT_TRUE(catalog.itemExist(0, 1));
    EXPECT_TRUE(catalog.itemExist(15, 31));
    EXPECT_FALSE(catalog.itemExist(0, 0));
    EXPECT_FALSE(catalog.itemExist(16, 0));
    EXPECT_FALSE(catalog.itemExist(0, 32));
    EXPECT_FALSE(catalog.itemExist(-1, 0));
    EXPECT_FALSE(catalog.itemExist(0, -1));
}

TEST_F(Queries, SubtypeLookupsTakeTheFirstMatch)
{
    EXPECT_TRUE(catalog.hasSubTypes(1));
    EXPECT_FALSE(catalog.hasSubTypes(0));
    EXPECT_TRUE(catalog.subTypeExist(1, 9));
    EXPECT_FALSE(catalog.subTypeExist(1, 0));
    ASSERT_NE(catalog.getSubType(1, 5), nullptr);
    EXPECT_EQ(catalog.getSubType(1, 5)->name, "Blade Five");
    EXPECT_EQ(catalog.getSubType(2, 5), nullptr);
}

TEST(EmptySubtypeTable, FindsNothing)
{
    Catalog catalog;
    EXPECT_FALSE(catalog.hasSubTypes(0));
    EXPECT_FALSE(catalog.subTypeExist(0, 0));
    EXPECT_EQ(catalog.getSubType(0, 0), nullptr);
}

}  // namespace
}  // namespace vs
