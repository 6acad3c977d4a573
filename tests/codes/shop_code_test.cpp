#include "codes/shop_code.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

clsShopCode example()
{
    clsShopCode shop;
    shop.classIndex = 0;
    shop.typeIndex = 1;
    shop.level = 5;
    shop.dur = 255;
    shop.skill = 1;
    shop.luck = 1;
    shop.optLevel = 2;
    return shop;
}

TEST(ShopCode, WorkedExample)
{
    clsShopCode shop = example();
    EXPECT_EQ(shop.getCode(" "), "0 1 5 255 1 1 2");
    EXPECT_EQ((std::array<int16_t, 6>{0, 4, 6, 10, 12, 14}), shop.propPos);
    EXPECT_EQ(shop.getCode(","), "0,1,5,255,1,1,2");
    EXPECT_EQ(shop.getBagCode(","), "0,1,5,1,1,2");
    EXPECT_EQ(shop.getDecSerial(), 1);
}

TEST(ShopCode, NewRecord)
{
    clsShopCode shop;
    EXPECT_EQ(shop.getBagCode(","), "0,0,0,0,0,0");
    EXPECT_EQ(shop.propPos[0], 0);
    EXPECT_EQ(shop.getCode(" "), "0 0 0 0 0 0 0");
    EXPECT_EQ(shop.propPos[3], 8) << "durability 0 still occupies its field";
    EXPECT_EQ(shop.propPos[0], 0);
}

TEST(ShopCode, BagCodeLeavesPropPosAlone)
{
    clsShopCode shop = example();
    shop.getCode(" ");
    auto before = shop.propPos;
    shop.classIndex = 15;
    shop.getBagCode(",");
    EXPECT_EQ(shop.propPos, before);
}

TEST(ShopCode, ItemIds)
{
    clsShopCode shop;
    shop.classIndex = 15;
    shop.typeIndex = 31;
    EXPECT_EQ(shop.getDecSerial(), 511);
    shop.classIndex = 8;
    shop.typeIndex = 0;
    EXPECT_EQ(shop.getDecSerial(), 256);
}

TEST(ShopCode, NegativeFieldsAreWrittenWithTheirSign)
{
    clsShopCode shop;
    shop.level = -3;
    EXPECT_EQ(shop.getCode(","), "0,0,-3,0,0,0,0");
    EXPECT_EQ(shop.propPos[2], 7);
}

}  // namespace
}  // namespace vs
