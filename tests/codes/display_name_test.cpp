#include "catalog/catalog_loader.h"
#include "codes/display_name.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

class DisplayName : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadItemCatalog("0\n1 1 3 0 0 0 \"Blade\"\n13\n8 1 1 0 0 0 \"Ring\"", catalog, "items");
        loadSubTypes("0 1\n9 \"Dawn Blade\"\n", catalog, "subtypes");
    }
    std::string name(int cls, int idx, int level, int opt, int skill, int luck, int mode = kShopDocument)
    {
        return composeDisplayName(catalog, {cls, idx, level, opt, skill, luck},
                                  optionLabelFor(cls, idx, opt), mode);
    }
    Catalog catalog;
};

TEST_F(DisplayName, WorkedExamples)
{
    EXPECT_EQ(name(0, 1, 5, 2, 1, 1), "Blade+5+8+Skill+Luck");
    EXPECT_EQ(name(0, 1, 5, 2, 1, 1, kBagDocument), "Excellent Blade+5+8+Skill");
    EXPECT_EQ(name(0, 1, 0, 2, 0, 0), "Blade+0+8");
    EXPECT_EQ(name(0, 1, 0, 0, 0, 0), "Blade");
}

TEST_F(DisplayName, SubtypeReplacesTheNameButKeepsTheRest)
{
    EXPECT_EQ(name(0, 1, 9, 1, 1, 0), "Dawn Blade+4+Skill");
    EXPECT_EQ(name(0, 1, 9, 0, 0, 1, kBagDocument), "Excellent Dawn Blade");
}

TEST_F(DisplayName, UnknownItemGetsNothingAdded)
{
    EXPECT_EQ(name(0, 2, 7, 3, 1, 1), "Unknown Item");
    EXPECT_EQ(name(16, 0, 7, 3, 1, 1), "Unknown Item");
}

TEST_F(DisplayName, OptionLabelsFollowTheItem)
{
    EXPECT_EQ(name(13, 8, 0, 4, 0, 0), "Ring+0+4%");
    EXPECT_EQ(optionLabelFor(6, 3, 2), "+10");
    EXPECT_EQ(optionLabelFor(0, 0, 5), "");
}

}  // namespace
}  // namespace vs
