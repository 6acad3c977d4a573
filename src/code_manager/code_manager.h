#pragma once

#include "catalog/catalog.h"
#include "code_manager/code_man_view.h"
#include "codes/shop_code.h"
#include "codes/vault_code.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vs {

// The item being edited. It keeps the seven properties in range, moves the
// window's controls to match, and refreshes the two codes and the display name.
class clsCodeMan {
public:
    clsCodeMan(const Catalog& catalog, CodeManView& view);

    clsVaultCode vaultCode;
    clsShopCode shopCode;
    int16_t selVaultPos = 0;
    int16_t selVaultLen = 0;
    int16_t selShopPos = 0;
    int16_t selShopLen = 0;
    bool selItemId = false;
    std::string strShopComment;
    bool flgFromShop = false;
    bool flgItemExists = false;
    bool showSel = true;
    bool allowSaveToShop = false;
    bool isNotItem = false;
    bool isNewItem = false;
    // The loaded item entry is not shown as it stands (an item the catalog
    // lacks, a column the editor cannot show): no edit is written into it until
    // an item is chosen for it with the category, class or item selector.
    bool rowHeld = false;
    // What the editor holds beyond the seven properties, for layouts with such
    // columns: the highest level of a level range and the excellent flag.
    int16_t maxLevel = 0;
    int16_t excellentFlag = 0;

    // Limits, rounds and stores the seven values, moves the controls, refreshes.
    void update(double classIndex, double typeIndex, double level, double dur, double skill,
                double luck, double optLevel);
    void updateCategory();

    void setClassIndex(double value);
    void setTypeIndex(double value);
    void setLevel(double value);
    void setDur(double value);
    void setSkill(double value);
    void setLuck(double value);
    void setOptLevel(double value);
    // The caller makes sure the serial fits the vault code (clsVaultCode::serialFits).
    void setId(double serial);
    void setXlntOption(int index, int value);
    void setMaxLevel(double value);
    void setExcellentFlag(double value);
    void setComment();

    void setSelVault(int start, int length);
    void setSelShop(int field, int length);

    int16_t getClassIndex() const { return shopCode.classIndex; }
    int16_t getTypeIndex() const { return shopCode.typeIndex; }
    int16_t getDecSerial() const { return shopCode.getDecSerial(); }

    std::string getVaultCode();
    std::string getShopCode(const std::string& separator);
    std::string getBagCode(const std::string& separator) const;
    // The item as the columns of the document's layout, joined by the separator.
    std::string getEntryCode(const std::string& separator) const;
    // The six excellent flags as bits, bit k for option k.
    int excellentBits() const;
    const std::string& getShopComment() const { return strShopComment; }

    void exportVaultCode();
    void exportShopCode(const std::string& separator);
    void refreshVaultCode();
    void refreshShopCode();
    void refreshName();
    void saveToShop();

private:
    // Lets go of a held row: the user chose an item for it. Returns whether one was held.
    bool releaseHeldRow();
    // After a held row got its new item (written by the update): the user is told.
    void heldRowReplaced(bool released);
    // Set while refreshName writes the display name into the comment box: that
    // change is the program's, and the entry is saved (or not) by refreshName's
    // own rule rather than as if the user had typed it.
    bool namingComment_ = false;
    // Set while a typed comment is saved: a held row then takes the comment alone.
    bool typingComment_ = false;
    const Catalog& catalog_;
    CodeManView& view_;
};

std::unique_ptr<clsCodeMan> clsCodeManCreate(const Catalog& catalog, CodeManView& view);

// How update limits one value: clamp, round half to even, clamp again, so that
// a value such as 15.5 can never round past its range.
int16_t limitToRange(double value, int low, int high);

// Step 1 of update: the seven values limited to their ranges (the level to
// 0..levelCount-1) and stored in the record.
void storeLimited(clsShopCode& code, double classIndex, double typeIndex, double level, double dur, double skill,
                  double luck, double optLevel, int levelCount);

// What Update All makes of an item entry, without the editor: the entry loaded
// and saved again, its columns limited and its comment the item's display name
// (`storedName` turns the name into the comment's bytes). None when the loaded
// item does not exist in the data files or the editor cannot show its columns
// as they stand (inexactColumn): Update All leaves such rows as they are.
std::optional<std::string> updatedEntryText(std::string_view text, const ItemLayout& layout, const Catalog& catalog,
                                            const std::function<std::string(const std::string&)>& storedName);

// The display name of an item in a layout: its naming rule, and the mark of
// excellence its excellent column (the bits, or the flag) gives.
std::string layoutItemName(const Catalog& catalog, const ItemLayout& layout, const clsShopCode& code,
                           int excellentBits, int excellentFlag, std::string_view optionLabel);

// The number of item levels the editor offers (0 to 12).
inline constexpr int kLevelCount = 13;

}  // namespace vs
