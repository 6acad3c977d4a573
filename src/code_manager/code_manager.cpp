#include "code_manager/code_manager.h"

#include "catalog/token_value.h"
#include "codes/display_name.h"

#include <algorithm>

namespace vs {

namespace {

double clampTo(double value, double low, double high)
{
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    return value;
}

// Skill and luck: below 0 or exactly 2 becomes 0, then above 1 becomes 1.
int16_t limitFlag(double value)
{
    if (value < 0 || value == 2)
        value = 0;
    if (value > 1)
        value = 1;
    return limitToRange(value, 0, 1);
}

int decimalLength(double value)
{
    return static_cast<int>(formatNumber(value).size());
}

}  // namespace

int16_t limitToRange(double value, int low, int high)
{
    double limited = clampTo(value, low, high);
    return static_cast<int16_t>(clampTo(roundHalfEven(limited), low, high));
}

clsCodeMan::clsCodeMan(const Catalog& catalog, CodeManView& view) : catalog_(catalog), view_(view)
{
}

std::unique_ptr<clsCodeMan> clsCodeManCreate(const Catalog& catalog, CodeManView& view)
{
    return std::make_unique<clsCodeMan>(catalog, view);
}

void storeLimited(clsShopCode& code, double classIndex, double typeIndex, double level, double dur, double skill,
                  double luck, double optLevel, int levelCount)
{
    code.classIndex = limitToRange(classIndex, 0, kClassCount - 1);
    code.typeIndex = limitToRange(typeIndex, 0, kItemsPerClass - 1);
    code.level = limitToRange(level, 0, std::max(0, levelCount - 1));
    code.dur = limitToRange(dur, 0, 255);
    code.skill = limitFlag(skill);
    code.luck = limitFlag(luck);
    code.optLevel = limitToRange(optLevel, 0, 4);
}

std::string layoutItemName(const Catalog& catalog, const ItemLayout& layout, const clsShopCode& code,
                           int excellentBits, int excellentFlag, std::string_view optionLabel)
{
    const bool excellent = layout.has(ColumnRole::ExcellentFlag) ? excellentFlag != 0 : excellentBits != 0;
    const NameSubject subject{code.classIndex, code.typeIndex, code.level, code.optLevel,
                              code.skill,      code.luck,      excellent};
    return composeDisplayName(catalog, subject, optionLabel, layout.naming);
}

std::optional<std::string> updatedEntryText(std::string_view text, const ItemLayout& layout, const Catalog& catalog,
                                            const std::function<std::string(const std::string&)>& storedName)
{
    if (!inexactColumn(text, layout).empty())
        return std::nullopt;
    RowValues row = readRowValues(text, layout);
    using R = ColumnRole;
    clsShopCode code;
    storeLimited(code, row[R::Class], row[R::Index], row[R::Level], row[R::Durability], row[R::Skill], row[R::Luck],
                 row[R::Option], kLevelCount);
    // As update decides flgItemExists: an item with subtypes exists at level 0
    // and at the levels its subtypes name; any other item when the catalog has it.
    const int id = code.getDecSerial();
    const bool exists = catalog.hasSubTypes(id) ? code.level == 0 || catalog.subTypeExist(id, code.level)
                                                : catalog.itemExist(code.classIndex, code.typeIndex);
    if (!exists)
        return std::nullopt;
    const std::string name = layoutItemName(
        catalog, layout, code, static_cast<int>(row[R::Excellent]), static_cast<int>(row[R::ExcellentFlag]),
        code.optLevel > 0 ? optionLabelFor(code.classIndex, code.typeIndex, code.optLevel) : std::string_view());
    // Every column the editor shows exactly stays as it is; the limited values
    // are the same numbers.
    row[R::Class] = code.classIndex;
    row[R::Index] = code.typeIndex;
    row[R::Level] = code.level;
    row[R::Durability] = code.dur;
    row[R::Skill] = code.skill;
    row[R::Luck] = code.luck;
    row[R::Option] = code.optLevel;
    return columnsText(layout, row, ",") + "," + storedName(name);
}

void clsCodeMan::update(double classIndex, double typeIndex, double level, double dur, double skill,
                        double luck, double optLevel)
{
    // 1. Limit and store.
    storeLimited(shopCode, classIndex, typeIndex, level, dur, skill, luck, optLevel, view_.levelRowCount());
    const double limitedDur = clampTo(dur, 0, 255);
    const int16_t cls = shopCode.classIndex;
    const int16_t type = shopCode.typeIndex;
    const int16_t lvl = shopCode.level;
    const int16_t opt = shopCode.optLevel;
    const int16_t skl = shopCode.skill;
    const int16_t lck = shopCode.luck;

    // 2. Loading from data: start the selector chain afresh from the category.
    if (flgFromShop) {
        view_.setClassListIndex(-1);
        view_.setItemListIndex(-1);
        view_.pressCategory(Catalog::getCat(cls));
    }
    // 3, 4. Class and item rows.
    view_.setClassListIndex(view_.getSortedClassIndex(cls));
    bool itemFound = false;
    if (catalog_.itemExist(cls, type)) {
        view_.setItemListIndex(view_.getSortedTypeIndex(type));
        itemFound = true;
    } else if (view_.itemRowCount() > 0) {
        view_.setItemListIndex(0);
    }
    // 5 to 7. The editor shows the durability as limited, before rounding.
    view_.setDurText(formatNumber(limitedDur));
    view_.setOptListIndex(opt);
    view_.setLevelListIndex(lvl);
    // 8. Subtype.
    bool subTypeFound = lvl == 0;
    if (catalog_.subTypeExist(getDecSerial(), lvl) && view_.subTypeSelectorEnabled()) {
        view_.setSubTypeListIndex(view_.getSortedSubTypeIndex(lvl));
        subTypeFound = true;
    }
    // 9, 10.
    view_.setSkillValue(skl);
    view_.setLuckValue(lck);
    // A range never ends below its start.
    if (maxLevel < lvl)
        maxLevel = lvl;
    view_.setMaxLevelListIndex(maxLevel);
    view_.setExcellentFlagValue(excellentFlag);
    flgItemExists = catalog_.hasSubTypes(getDecSerial()) ? subTypeFound : itemFound;
    // 11.
    refreshVaultCode();
    refreshShopCode();
    refreshName();
}

void clsCodeMan::updateCategory()
{
    const bool released = !flgFromShop && releaseHeldRow();
    if (!flgFromShop)
        shopCode.classIndex = static_cast<int16_t>(view_.firstClassRowValue());
    selItemId = true;
    update(shopCode.classIndex, shopCode.typeIndex, shopCode.level, shopCode.dur, shopCode.skill,
           shopCode.luck, shopCode.optLevel);
    heldRowReplaced(released);
}

void clsCodeMan::setClassIndex(double value)
{
    if (flgFromShop)
        return;
    const bool released = releaseHeldRow();
    selItemId = true;
    update(value, shopCode.typeIndex, shopCode.level, shopCode.dur, shopCode.skill, shopCode.luck,
           shopCode.optLevel);
    heldRowReplaced(released);
}

void clsCodeMan::setTypeIndex(double value)
{
    if (flgFromShop)
        return;
    const bool released = releaseHeldRow();
    selItemId = true;
    update(shopCode.classIndex, value, shopCode.level, shopCode.dur, shopCode.skill, shopCode.luck,
           shopCode.optLevel);
    heldRowReplaced(released);
}

bool clsCodeMan::releaseHeldRow()
{
    const bool held = rowHeld;
    rowHeld = false;
    return held;
}

void clsCodeMan::heldRowReplaced(bool released)
{
    // Choosing the item has written the row (refreshName); the user hears why.
    if (!released || isNotItem || !allowSaveToShop || !view_.listEntrySelected())
        return;
    view_.tellUser(StatusColor::White, "Save Item> The item of " + view_.selectedEntryName() + " was replaced by " +
                                           strShopComment + "; it is saved to " + view_.selectedEntryPlace() + ".");
}

void clsCodeMan::setMaxLevel(double value)
{
    if (flgFromShop)
        return;
    maxLevel = limitToRange(value, 0, std::max(0, view_.levelRowCount() - 1));
    // A range never ends below its start.
    if (maxLevel < shopCode.level)
        update(shopCode.classIndex, shopCode.typeIndex, maxLevel, shopCode.dur, shopCode.skill, shopCode.luck,
               shopCode.optLevel);
    else
        refreshName();
}

void clsCodeMan::setExcellentFlag(double value)
{
    if (flgFromShop)
        return;
    excellentFlag = limitFlag(value);
    refreshName();
}

void clsCodeMan::setLevel(double value)
{
    if (flgFromShop)
        return;
    setSelVault(2, 2);
    setSelShop(1, decimalLength(value));
    update(shopCode.classIndex, shopCode.typeIndex, value, shopCode.dur, shopCode.skill, shopCode.luck,
           shopCode.optLevel);
}

void clsCodeMan::setDur(double value)
{
    if (flgFromShop)
        return;
    setSelVault(4, 2);
    setSelShop(2, decimalLength(value));
    update(shopCode.classIndex, shopCode.typeIndex, shopCode.level, value, shopCode.skill, shopCode.luck,
           shopCode.optLevel);
}

void clsCodeMan::setSkill(double value)
{
    if (flgFromShop)
        return;
    setSelVault(2, 2);
    setSelShop(3, 1);
    update(shopCode.classIndex, shopCode.typeIndex, shopCode.level, shopCode.dur, value, shopCode.luck,
           shopCode.optLevel);
}

void clsCodeMan::setLuck(double value)
{
    if (flgFromShop)
        return;
    setSelVault(2, 2);
    setSelShop(4, 1);
    update(shopCode.classIndex, shopCode.typeIndex, shopCode.level, shopCode.dur, shopCode.skill, value,
           shopCode.optLevel);
}

void clsCodeMan::setOptLevel(double value)
{
    if (flgFromShop)
        return;
    if (value == 4)
        setSelVault(14, 2);
    else
        setSelVault(2, 2);
    setSelShop(5, 1);
    update(shopCode.classIndex, shopCode.typeIndex, shopCode.level, shopCode.dur, shopCode.skill,
           shopCode.luck, value);
}

void clsCodeMan::setId(double serial)
{
    setSelVault(6, 8);
    vaultCode.setId(serial);
    refreshVaultCode();
}

void clsCodeMan::setXlntOption(int index, int value)
{
    setSelVault(14, 2);
    vaultCode.setXlntOption(index, value == 2 ? 0 : value);
    refreshVaultCode();
    refreshName();
}

void clsCodeMan::setComment()
{
    if (flgFromShop)
        return;
    strShopComment = view_.commentText();
    if (allowSaveToShop && !namingComment_) {
        typingComment_ = true;
        saveToShop();
        typingComment_ = false;
    }
}

void clsCodeMan::setSelVault(int start, int length)
{
    selVaultPos = static_cast<int16_t>(start);
    selVaultLen = static_cast<int16_t>(length);
}

void clsCodeMan::setSelShop(int field, int length)
{
    selShopPos = static_cast<int16_t>(field);
    selShopLen = static_cast<int16_t>(length);
}

std::string clsCodeMan::getVaultCode()
{
    return vaultCode.getCode(shopCode);
}

std::string clsCodeMan::getShopCode(const std::string& separator)
{
    return shopCode.getCode(separator);
}

std::string clsCodeMan::getBagCode(const std::string& separator) const
{
    return shopCode.getBagCode(separator);
}

int clsCodeMan::excellentBits() const
{
    int bits = 0;
    for (int i = 0; i < kExcellentCount; ++i)
        bits |= vaultCode.xlntOption(i) != 0 ? 1 << i : 0;
    return bits;
}

std::string clsCodeMan::getEntryCode(const std::string& separator) const
{
    using R = ColumnRole;
    RowValues row;
    row[R::Class] = shopCode.classIndex;
    row[R::Index] = shopCode.typeIndex;
    row[R::Level] = shopCode.level;
    row[R::MaxLevel] = maxLevel;
    row[R::Durability] = shopCode.dur;
    row[R::Skill] = shopCode.skill;
    row[R::Luck] = shopCode.luck;
    row[R::Option] = shopCode.optLevel;
    row[R::Excellent] = excellentBits();
    row[R::ExcellentFlag] = excellentFlag;
    return columnsText(view_.itemLayout(), row, separator);
}

void clsCodeMan::exportVaultCode()
{
    view_.putOnClipboard(getVaultCode());
}

void clsCodeMan::exportShopCode(const std::string& separator)
{
    view_.putOnClipboard(getShopCode(separator));
}

void clsCodeMan::refreshVaultCode()
{
    view_.showVaultCode(getVaultCode());
    if (!showSel)
        return;
    if (selItemId) {
        selVaultPos = 0;
        selVaultLen = 2;
    }
    view_.selectVaultCode(selVaultPos, selVaultLen);
}

void clsCodeMan::refreshShopCode()
{
    view_.showShopCode(getShopCode(" "));
    if (!showSel)
        return;
    if (selItemId) {
        selShopPos = 0;
        selItemId = false;
    }
    const int start = shopCode.propPos.at(std::clamp<int>(selShopPos, 0, 5));
    if (selShopPos == 0)
        selShopLen = static_cast<int16_t>(shopCode.propPos[1] - 1);
    view_.selectShopCode(start, selShopLen);
}

void clsCodeMan::refreshName()
{
    // Named after the item the codes describe. While an item missing from the
    // catalog is loaded, the item selector shows the class's first item instead;
    // naming that one would label the entry with another item's name.
    const std::string option = shopCode.optLevel > 0 ? view_.getOptionName() : std::string();
    strShopComment = layoutItemName(catalog_, view_.itemLayout(), shopCode, excellentBits(), excellentFlag, option);
    if (!view_.commentProtected()) {
        namingComment_ = true;
        view_.setCommentText(strShopComment);
        namingComment_ = false;
    }
    if (isNewItem || (!isNotItem && allowSaveToShop))
        saveToShop();
}

void clsCodeMan::saveToShop()
{
    if (!view_.listEntrySelected()) {
        view_.tellUser(StatusColor::Yellow, "Save Item> Please select an item from list.");
        return;
    }
    if (rowHeld && view_.selectedEntryKind() == 1 && typingComment_) {
        // The row keeps its columns as they stand; only its comment changes.
        const std::string stored = view_.selectedEntryText();
        const std::vector<std::string_view> pieces = entryPieces(stored);
        std::string text;
        for (size_t c = 0; c < view_.itemLayout().count(); ++c) {
            if (c > 0)
                text += ',';
            if (c < pieces.size())
                text += pieces[c];
        }
        if (view_.setSelectedEntryText(text + "," + view_.commentText()))
            view_.tellUser(StatusColor::White, "Save Item> The comment is saved to " + view_.selectedEntryPlace() +
                                                   "; the row keeps its fields.");
        return;
    }
    if (rowHeld && view_.selectedEntryKind() == 1) {
        view_.tellUser(StatusColor::Yellow, "Save Item> Not saved: " + view_.selectedEntryName() +
                                                " keeps its fields, which the editor cannot show as they stand; "
                                                "choose an item for it with the class or item selector to replace it.");
        return;
    }
    std::string text;
    if (view_.selectedEntryKind() != 1)
        text = view_.commentText();
    else
        text = getEntryCode(",") + "," + view_.commentText();
    if (view_.setSelectedEntryText(text))
        view_.tellUser(StatusColor::White, "Save Item> The item is saved to " + view_.selectedEntryPlace() + ".");
}

}  // namespace vs
