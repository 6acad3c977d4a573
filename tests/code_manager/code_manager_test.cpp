#include "catalog/catalog_loader.h"
#include "code_manager/code_manager.h"
#include "document/file_layout.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

// A window without events: it records what the code manager shows.
class FakeView : public CodeManView {
public:
    std::string vault, shop, comment, entryText, status, clipboard;
    int vaultSel[2] = {-1, -1}, shopSel[2] = {-1, -1};
    int category = -1, classPos = -1, itemPos = -1, levelPos = -1, optPos = -1, subPos = -1, maxLevelPos = -1;
    int skill = -1, luck = -1, mode = 0, entryKind = 1, itemRows = 3;
    std::string durText;
    bool protectedComment = false, entrySelected = true, subTypesEnabled = true;
    StatusColor color = StatusColor::White;

    void showVaultCode(const std::string& t) override { vault = t; }
    void selectVaultCode(int s, int l) override { vaultSel[0] = s, vaultSel[1] = l; }
    void showShopCode(const std::string& t) override { shop = t; }
    void selectShopCode(int s, int l) override { shopSel[0] = s, shopSel[1] = l; }
    void pressCategory(int g) override { category = g; }
    void setClassListIndex(int p) override { classPos = p; }
    void setItemListIndex(int p) override { itemPos = p; }
    int itemRowCount() const override { return itemRows; }
    int firstClassRowValue() const override { return 8; }
    int getSortedClassIndex(int c) const override { return 100 + c; }
    int getSortedTypeIndex(int t) const override { return 200 + t; }
    int getSortedSubTypeIndex(int l) const override { return 300 + l; }
    bool subTypeSelectorEnabled() const override { return subTypesEnabled; }
    void setSubTypeListIndex(int p) override { subPos = p; }
    int levelRowCount() const override { return 13; }
    void setLevelListIndex(int p) override { levelPos = p; }
    void setOptListIndex(int p) override { optPos = p; }
    void setDurText(const std::string& t) override { durText = t; }
    void setSkillValue(int v) override { skill = v; }
    void setLuckValue(int v) override { luck = v; }
    std::string getOptionName() const override { return "+8"; }
    int editMode() const override { return mode; }
    const ItemLayout& itemLayout() const override { return layout ? layout->items : specLayout(mode).items; }
    const FileLayout* layout = nullptr;
    std::string selectedEntryText() const override { return entryText; }
    void setMaxLevelListIndex(int p) override { maxLevelPos = p; }
    void setExcellentFlagValue(int) override {}
    bool commentProtected() const override { return protectedComment; }
    std::string commentText() const override { return comment; }
    void setCommentText(const std::string& t) override
    {
        // Like the comment box: a changed text raises its change handler.
        const bool changed = comment != t;
        comment = t;
        if (changed && reenter)
            reenter->setComment();
    }
    clsCodeMan* reenter = nullptr;
    bool listEntrySelected() const override { return entrySelected; }
    int selectedEntryKind() const override { return entryKind; }
    bool setSelectedEntryText(const std::string& t) override
    {
        entryText = t;
        return true;
    }
    void tellUser(StatusColor c, const std::string& m) override { color = c, status = m; }
    void putOnClipboard(const std::string& t) override { clipboard = t; }
};

class CodeManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadItemCatalog("0\n1 1 3 0 0 0 \"Blade\"\n8\n20 2 3 0 0 0 \"Plate\"", catalog, "items");
        loadSubTypes("0 1\n9 \"Dawn Blade\"\n8 20\n1 \"Plate One\"", catalog, "subtypes");
    }
    Catalog catalog;
    FakeView view;
    std::unique_ptr<clsCodeMan> man = clsCodeManCreate(catalog, view);
};

TEST_F(CodeManager, LimitsEveryValue)
{
    man->update(20, -3, 20, 300, 2, 3, 7);
    const clsShopCode& s = man->shopCode;
    EXPECT_EQ(s.classIndex, 15);
    EXPECT_EQ(s.typeIndex, 0);
    EXPECT_EQ(s.level, 12);
    EXPECT_EQ(s.dur, 255);
    EXPECT_EQ(s.skill, 0);
    EXPECT_EQ(s.luck, 1);
    EXPECT_EQ(s.optLevel, 4);
    EXPECT_EQ(view.durText, "255");
    man->update(0, 0, 0, 0, -1, -1, 0);
    EXPECT_EQ(man->shopCode.skill, 0);
    EXPECT_EQ(man->shopCode.luck, 0);
}

TEST_F(CodeManager, RoundingNeverLeavesTheRange)
{
    // 15.5 and 31.5 round to 16 and 32; the stored values stay 15 and 31.
    man->update(15.5, 31.5, 12.5, 255.5, 1.5, 0.5, 4.5);
    const clsShopCode& s = man->shopCode;
    EXPECT_EQ(s.classIndex, 15);
    EXPECT_EQ(s.typeIndex, 31);
    EXPECT_EQ(s.level, 12);
    EXPECT_EQ(s.dur, 255);
    EXPECT_EQ(s.skill, 1);
    EXPECT_EQ(s.luck, 0);
    EXPECT_EQ(s.optLevel, 4);
    EXPECT_EQ(view.vault.size(), 20u);
    EXPECT_EQ(view.vault.substr(0, 2), "FF");
}

TEST_F(CodeManager, FractionsInsideTheRangesRoundHalfToEven)
{
    man->update(2.5, 3.5, 4.5, 12.5, 0.4, 0.6, 1.5);
    const clsShopCode& s = man->shopCode;
    EXPECT_EQ(s.classIndex, 2);
    EXPECT_EQ(s.typeIndex, 4);
    EXPECT_EQ(s.level, 4);
    EXPECT_EQ(s.dur, 12);
    EXPECT_EQ(s.skill, 0);
    EXPECT_EQ(s.luck, 1);
    EXPECT_EQ(s.optLevel, 2);
    EXPECT_EQ(view.durText, "12.5") << "the box shows the durability before rounding";
}

TEST_F(CodeManager, LoadingFromDataMovesTheCategoryFirst)
{
    man->flgFromShop = true;
    man->update(8, 20, 0, 40, 0, 0, 4);
    EXPECT_EQ(view.category, 0);
    EXPECT_EQ(view.classPos, 108);
    EXPECT_EQ(view.itemPos, 220);
    EXPECT_EQ(view.vault, "14002800000000C00000");
    EXPECT_EQ(view.shop, "8 20 0 40 0 0 4");
    EXPECT_TRUE(man->flgItemExists) << "level 0 counts as found for an item with subtypes";
}

TEST_F(CodeManager, ItemExistenceAndSubtypes)
{
    man->update(0, 2, 0, 0, 0, 0, 0);
    EXPECT_FALSE(man->flgItemExists);
    EXPECT_EQ(view.itemPos, 0) << "a missing item selects the first listed row";
    EXPECT_EQ(view.comment, "Unknown Item");

    man->update(0, 1, 9, 0, 0, 0, 0);
    EXPECT_TRUE(man->flgItemExists);
    EXPECT_EQ(view.subPos, 309);
    EXPECT_EQ(view.comment, "Dawn Blade");

    man->update(0, 1, 3, 0, 0, 0, 0);
    EXPECT_FALSE(man->flgItemExists) << "a level without a subtype";
}

TEST_F(CodeManager, SetterHighlights)
{
    man->setTypeIndex(1);
    EXPECT_EQ(view.vaultSel[0], 0);
    EXPECT_EQ(view.vaultSel[1], 2);
    EXPECT_EQ(view.shopSel[0], 0);
    EXPECT_EQ(view.shopSel[1], 3) << "\"0 1\": class, space, item";
    EXPECT_FALSE(man->selItemId);

    man->setDur(120);
    EXPECT_EQ(view.vaultSel[0], 4);
    EXPECT_EQ(view.vaultSel[1], 2);
    EXPECT_EQ(view.shopSel[0], 6);
    EXPECT_EQ(view.shopSel[1], 3);

    man->setLevel(11);
    EXPECT_EQ(view.vaultSel[0], 2);
    EXPECT_EQ(view.shopSel[0], 4);
    EXPECT_EQ(view.shopSel[1], 2);

    man->setSkill(1);
    EXPECT_EQ(view.shopSel[0], 11);
    man->setLuck(1);
    EXPECT_EQ(view.shopSel[0], 13);
    man->setOptLevel(3);
    EXPECT_EQ(view.vaultSel[0], 2);
    EXPECT_EQ(view.shopSel[0], 15);
    man->setOptLevel(4);
    EXPECT_EQ(view.vaultSel[0], 14);
    EXPECT_EQ(view.shop, "0 1 11 120 1 1 4");

    man->setId(1000);
    EXPECT_EQ(view.vaultSel[0], 6);
    EXPECT_EQ(view.vaultSel[1], 8);
    man->setXlntOption(3, 2);
    EXPECT_EQ(view.vaultSel[0], 14);
    EXPECT_EQ(man->vaultCode.xlntOption(3), 0) << "a grayed box counts as clear";
}

TEST_F(CodeManager, GuardedSettersIgnoreEventsWhileLoading)
{
    man->flgFromShop = true;
    man->setTypeIndex(1);
    man->setLevel(5);
    EXPECT_EQ(man->shopCode.typeIndex, 0);
    EXPECT_EQ(man->shopCode.level, 0);
    man->setId(7);
    EXPECT_EQ(view.vault.substr(6, 8), "00000007") << "the serial is never guarded";
}

TEST_F(CodeManager, WriteProtectKeepsTheCommentBox)
{
    view.protectedComment = true;
    view.comment = "kept";
    man->update(0, 1, 5, 0, 1, 1, 2);
    EXPECT_EQ(view.comment, "kept");
    EXPECT_EQ(man->strShopComment, "Blade+5+8+Skill+Luck");
}

TEST_F(CodeManager, SaveToShopByEntryKindAndDocument)
{
    man->update(0, 1, 5, 255, 1, 1, 2);
    man->saveToShop();
    EXPECT_EQ(view.entryText, "0,1,5,255,1,1,2,Blade+5+8+Skill+Luck");
    EXPECT_EQ(view.status, "Save Item> The item is saved to the list.");
    view.mode = 1;
    man->saveToShop();
    EXPECT_EQ(view.entryText, "0,1,5,1,1,2,Blade+5+8+Skill+Luck");
    view.entryKind = 2;
    view.comment = "// note";
    man->saveToShop();
    EXPECT_EQ(view.entryText, "// note");
    view.entrySelected = false;
    man->saveToShop();
    EXPECT_EQ(view.status, "Save Item> Please select an item from list.");
    EXPECT_EQ(view.color, StatusColor::Yellow);
}

TEST_F(CodeManager, EditsAreSavedOnlyWhenTheFlagsAllow)
{
    man->update(0, 1, 0, 0, 0, 0, 0);
    EXPECT_TRUE(view.entryText.empty());
    man->allowSaveToShop = true;
    man->setLuck(1);
    EXPECT_EQ(view.entryText, "0,1,0,0,0,1,0,Blade+Luck");
    man->isNotItem = true;
    man->setSkill(1);
    EXPECT_EQ(view.entryText, "0,1,0,0,0,1,0,Blade+Luck");
    man->isNewItem = true;
    man->setLevel(3);
    EXPECT_EQ(view.entryText, "0,1,3,0,1,1,0,Blade+3+Skill+Luck") << "a new item is always written";
}

TEST_F(CodeManager, RenamingTheCommentDoesNotSaveWhatTheFlagsForbid)
{
    view.reenter = man.get();
    man->update(0, 1, 0, 0, 0, 0, 0);
    man->allowSaveToShop = true;
    man->isNotItem = true;
    man->setLuck(1);
    EXPECT_EQ(view.comment, "Blade+Luck");
    EXPECT_TRUE(view.entryText.empty()) << "an item edit reached an entry that must not take it";
    man->isNotItem = false;
    man->setSkill(1);
    EXPECT_EQ(view.entryText, "0,1,0,0,1,1,0,Blade+Skill+Luck");
    // Typing in the box is the user's edit: it is saved.
    man->isNotItem = true;
    view.setCommentText("typed");
    EXPECT_EQ(view.entryText, "0,1,0,0,1,1,0,typed");
}

TEST_F(CodeManager, ExportsTheCodes)
{
    man->update(0, 1, 5, 255, 1, 1, 2);
    man->exportShopCode(" ");
    EXPECT_EQ(view.clipboard, view.shop);
    man->exportVaultCode();
    EXPECT_EQ(view.clipboard, view.vault);
}

TEST_F(CodeManager, EachLayoutsColumnsFollowTheEditor)
{
    // The 8-column shop's EXC column holds the excellent options as bits; the
    // sectioned bag writes its level range and excellent flag; both name the
    // item by the vault code's rule.
    view.entrySelected = true;
    view.entryKind = 1;
    view.layout = &layoutFor(LayoutId::Shop8);
    man->update(0, 1, 5, 20, 0, 1, 0);
    man->allowSaveToShop = true;
    man->setXlntOption(0, 1);
    man->setXlntOption(5, 1);
    EXPECT_EQ(view.entryText, "0,1,5,20,0,1,0,33,Excellent Blade+5+Luck");
    man->setXlntOption(0, 0);
    EXPECT_EQ(man->getEntryCode(","), "0,1,5,20,0,1,0,32");
    man->setXlntOption(kAllExcellent, 0);
    EXPECT_EQ(view.entryText, "0,1,5,20,0,1,0,0,Blade+5+Luck");
    // The excellent options never reach a layout without their column.
    view.layout = &layoutFor(LayoutId::Shop7);
    man->setXlntOption(2, 1);
    EXPECT_EQ(view.entryText, "0,1,5,20,0,1,0,Blade+5+Luck");

    view.layout = &layoutFor(LayoutId::BagSections);
    man->setXlntOption(kAllExcellent, 0);
    man->setMaxLevel(9);
    EXPECT_EQ(view.entryText, "0,1,5,9,0,1,0,0,Blade+5+Luck");
    man->setExcellentFlag(1);
    EXPECT_EQ(view.entryText, "0,1,5,9,0,1,0,1,Excellent Blade+5+Luck");
    // A range never ends below its start, either way.
    man->setLevel(11);
    EXPECT_EQ(view.entryText, "0,1,11,11,0,1,0,1,Excellent Blade+11+Luck");
    man->setMaxLevel(3);
    EXPECT_EQ(view.entryText, "0,1,3,3,0,1,0,1,Excellent Blade+3+Luck");
    EXPECT_EQ(view.maxLevelPos, 3);
}

TEST_F(CodeManager, AHeldRowTakesNoEditUntilAnItemIsChosen)
{
    view.entrySelected = true;
    view.entryKind = 1;
    view.entryText = "0,9,14,20,0,0,0,old";
    man->update(0, 1, 12, 20, 0, 0, 0);
    man->allowSaveToShop = true;
    man->rowHeld = true;
    man->setSkill(1);
    EXPECT_EQ(view.entryText, "0,9,14,20,0,0,0,old");
    EXPECT_EQ(view.color, StatusColor::Yellow);
    // A typed comment changes the comment alone.
    man->setComment();
    view.comment = "new";
    man->setComment();
    EXPECT_EQ(view.entryText, "0,9,14,20,0,0,0,new");
    // Choosing an item lets go of the row: it is written and the user told.
    man->setTypeIndex(1);
    EXPECT_FALSE(man->rowHeld);
    EXPECT_EQ(view.entryText.substr(0, 17), "0,1,12,20,1,0,0,B");
    EXPECT_EQ(view.status.rfind("Save Item> The item of the entry was replaced by Blade+12+Skill", 0), 0u) << view.status;
}

}  // namespace
}  // namespace vs
