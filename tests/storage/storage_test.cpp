#include "catalog/catalog.h"
#include "catalog/catalog_loader.h"
#include "codes/shop_code.h"
#include "storage/storage.h"
#include "storage/storage_text.h"
#include "codes/vault_code.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vs {
namespace {

Catalog smallCatalog()
{
    Catalog catalog;
    loadItemCatalog("0\n"
                    "0 1 2 0 0 0 \"Kris\" 0 0 0 20\n"
                    "1 2 2 0 0 0 \"Blade\" 0 0 0 20\n"
                    "2 3 1 0 0 0 \"Bar\" 0 0 0 20\n"
                    "end\n"
                    "1\n"
                    "0 2 3 0 0 0 \"Axe\" 0 0 0 20\n"
                    "end\n",
                    catalog, "items");
    return catalog;
}

// An item's slot as the editor composes its vault code.
StorageSlot item(int cls, int index, int32_t serial = 0, int level = 0, int option = 0)
{
    clsShopCode shop;
    shop.classIndex = static_cast<int16_t>(cls);
    shop.typeIndex = static_cast<int16_t>(index);
    shop.level = static_cast<int16_t>(level);
    shop.dur = 20;
    shop.optLevel = static_cast<int16_t>(option);
    clsVaultCode vault;
    vault.setId(serial);
    return *slotFromHex(vault.getCode(shop));
}

Storage emptyStorage(StorageKind kind)
{
    Storage storage;
    storage.kind = kind;
    storage.contents.assign(static_cast<size_t>(storageSlotCount(kind)), kEmptySlot);
    return storage;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string refusal(std::string_view bytes, std::optional<StorageKind> kind = std::nullopt)
{
    try {
        readStorage(bytes, kind);
    } catch (const StorageError& e) {
        return e.what();
    }
    ADD_FAILURE() << "read without refusal";
    return {};
}

// Every byte value, so that nothing is lost on the way through.
std::string patternBytes(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
}

TEST(StorageRead, RawFilesOfBothKindsComeBackByteForByte)
{
    for (auto [size, kind] : {std::pair{size_t{1200}, StorageKind::Warehouse}, std::pair{size_t{760}, StorageKind::Inventory}}) {
        const std::string bytes = patternBytes(size);
        const Storage storage = readStorage(bytes);
        EXPECT_EQ(storage.kind, kind);
        EXPECT_EQ(storage.form, StorageForm::Raw);
        ASSERT_EQ(storage.contents.size(), size / 10);
        EXPECT_EQ(storage.contents[1][0], static_cast<uint8_t>(bytes[10]));
        EXPECT_EQ(writeStorage(storage), bytes);
    }
}

TEST(StorageRead, HexTextBecomesOneUpperCaseLineKeepingPrefixAndLineEnd)
{
    const std::string hex = storageHex(readStorage(patternBytes(760)));
    ASSERT_EQ(hex.size(), 1520u);
    // Lower case with blanks and line breaks in, one upper-case line out.
    std::string scattered = "  0x";
    for (size_t i = 0; i < hex.size(); i += 20)
        scattered += lower(hex.substr(i, 20)) + (i % 40 ? "\r\n" : " \t");
    Storage prefixed = readStorage(scattered);
    EXPECT_EQ(prefixed.kind, StorageKind::Inventory);
    EXPECT_EQ(prefixed.form, StorageForm::PrefixedHex);
    EXPECT_EQ(writeStorage(prefixed), "0x" + hex + "\r\n");

    const std::string warehouseHex = storageHex(readStorage(patternBytes(1200)));
    Storage bare = readStorage(lower(warehouseHex));
    EXPECT_EQ(bare.kind, StorageKind::Warehouse);
    EXPECT_EQ(bare.form, StorageForm::Hex);
    EXPECT_EQ(writeStorage(bare), warehouseHex);

    // Already tidy text comes back byte for byte, with or without a line end.
    for (const std::string& tidy : {warehouseHex + "\n", "0X" + hex, "0x" + hex + "\n"}) {
        const std::string written = writeStorage(readStorage(tidy));
        EXPECT_EQ(lower(written), lower(tidy));
    }
    EXPECT_EQ(writeStorage(readStorage("0x" + hex + "\n")), "0x" + hex + "\n");
}

TEST(StorageRead, RefusalsSayTheLengthAndTheFirstBadCharacter)
{
    EXPECT_NE(refusal("").find("empty"), std::string::npos);

    std::string text(1000, 'a');
    text[4] = 'g';
    text[9] = 'z';
    std::string message = refusal(text);
    EXPECT_NE(message.find("1,000 bytes"), std::string::npos) << message;
    EXPECT_NE(message.find("'g' at byte 5"), std::string::npos) << message;

    std::string binary = patternBytes(1199);
    message = refusal(binary);
    EXPECT_NE(message.find("1,199 bytes"), std::string::npos) << message;
    EXPECT_NE(message.find("byte 0x03 at byte 1 "), std::string::npos) << message;

    message = refusal(std::string(2398, 'F'));
    EXPECT_NE(message.find("2,398 hexadecimal digits"), std::string::npos) << message;
    EXPECT_NE(message.find("2,400"), std::string::npos) << message;
    EXPECT_NE(message.find("1,520"), std::string::npos) << message;

    message = refusal("0x0x" + std::string(2398, 'F'));
    EXPECT_NE(message.find("'x' at byte 4"), std::string::npos) << message;

    // A kind given accepts only its own lengths.
    message = refusal(std::string(760, '\xFF'), StorageKind::Warehouse);
    EXPECT_NE(message.find("a warehouse holds 1,200 bytes"), std::string::npos) << message;
    message = refusal(std::string(2400, 'F'), StorageKind::Inventory);
    EXPECT_NE(message.find("2,400 hexadecimal digits; an inventory holds 1,520"), std::string::npos) << message;
    EXPECT_EQ(readStorage(std::string(1520, 'f'), StorageKind::Inventory).kind, StorageKind::Inventory);
}

TEST(StorageGrid, SlotsAndCellsMapBothWays)
{
    EXPECT_EQ(slotCell(StorageKind::Warehouse, 0)->x, 0);
    EXPECT_EQ(slotCell(StorageKind::Warehouse, 9)->x, 1);
    EXPECT_EQ(slotCell(StorageKind::Warehouse, 9)->y, 1);
    EXPECT_EQ(slotCell(StorageKind::Warehouse, 119)->y, 14);
    EXPECT_FALSE(slotCell(StorageKind::Warehouse, 120));
    EXPECT_FALSE(slotCell(StorageKind::Inventory, 11));
    EXPECT_EQ(slotCell(StorageKind::Inventory, 12)->x, 0);
    EXPECT_EQ(slotCell(StorageKind::Inventory, 12)->y, 0);
    EXPECT_EQ(slotCell(StorageKind::Inventory, 75)->x, 7);
    EXPECT_EQ(slotCell(StorageKind::Inventory, 75)->y, 7);
    EXPECT_FALSE(slotCell(StorageKind::Inventory, 76));
    EXPECT_EQ(cellSlot(StorageKind::Warehouse, 7, 14), 119);
    EXPECT_EQ(cellSlot(StorageKind::Inventory, 3, 2), 12 + 19);
    EXPECT_FALSE(cellSlot(StorageKind::Warehouse, 8, 0));
    EXPECT_FALSE(cellSlot(StorageKind::Warehouse, 0, 15));
    EXPECT_FALSE(cellSlot(StorageKind::Inventory, 0, 8));
    EXPECT_FALSE(cellSlot(StorageKind::Inventory, -1, 0));
    EXPECT_EQ(equippedSlotName(3), "armour");
    EXPECT_EQ(equippedSlotName(11), "ring 2");
    EXPECT_EQ(equippedSlotName(12), "");
}

std::string placeRefusal(Storage& storage, const Catalog& catalog, const StorageSlot& slot, int x, int y)
{
    const Storage before = storage;
    try {
        placeStorageItem(storage, catalog, slot, x, y);
    } catch (const StorageError& e) {
        EXPECT_EQ(storage.contents, before.contents) << "a refused placement changed the storage";
        return e.what();
    }
    ADD_FAILURE() << "placed without refusal at " << x << "," << y;
    return {};
}

TEST(StoragePlace, TheRectangleMustStayOnTheGrid)
{
    const Catalog catalog = smallCatalog();
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    const StorageSlot blade = item(0, 1);  // 2 x 2
    EXPECT_NE(placeRefusal(warehouse, catalog, blade, 7, 0).find("Blade (2 x 2) at column 7, row 0 would leave the 8 x 15 grid"),
              std::string::npos);
    EXPECT_FALSE(placeRefusal(warehouse, catalog, blade, 0, 14).empty());
    placeStorageItem(warehouse, catalog, blade, 6, 13);
    EXPECT_EQ(warehouse.contents[13 * 8 + 6], blade);

    Storage inventory = emptyStorage(StorageKind::Inventory);
    EXPECT_FALSE(placeRefusal(inventory, catalog, blade, 0, 7).empty());
    EXPECT_FALSE(placeRefusal(inventory, catalog, blade, 0, 8).empty());
    placeStorageItem(inventory, catalog, blade, 6, 6);
    EXPECT_EQ(inventory.contents[12 + 6 * 8 + 6], blade);

    EXPECT_NE(placeRefusal(warehouse, catalog, item(5, 3), 0, 0).find("no item 3 in class 5"), std::string::npos);
    EXPECT_FALSE(placeRefusal(warehouse, catalog, kEmptySlot, 0, 0).empty());
}

TEST(StoragePlace, CoveredCellsAreRefusedAndLeftEmpty)
{
    const Catalog catalog = smallCatalog();
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    const StorageSlot axe = item(1, 0);  // 2 x 3
    placeStorageItem(warehouse, catalog, axe, 2, 1);
    // Kris (1 x 2) at (3, 0) would reach (3, 1), under the axe.
    EXPECT_NE(placeRefusal(warehouse, catalog, item(0, 0), 3, 0).find("would cover column 3, row 1, which the item in slot 10 holds"),
              std::string::npos);
    EXPECT_FALSE(placeRefusal(warehouse, catalog, item(0, 0), 3, 3).empty());
    placeStorageItem(warehouse, catalog, item(0, 0), 4, 1);
    placeStorageItem(warehouse, catalog, item(0, 0), 2, 4);
    EXPECT_TRUE(checkStorage(warehouse, catalog).empty());
    // A stray byte under a placed item's rectangle counts as taken.
    warehouse.contents[40][9] = 0x00;
    EXPECT_FALSE(placeRefusal(warehouse, catalog, item(0, 2), 0, 5).empty());
}

TEST(StoragePlace, MoveRemoveAndSet)
{
    const Catalog catalog = smallCatalog();
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    const StorageSlot axe = item(1, 0, 77);
    placeStorageItem(warehouse, catalog, axe, 0, 0);
    placeStorageItem(warehouse, catalog, item(0, 0), 3, 0);

    // Onto its own old cells: they count as free.
    moveStorageItem(warehouse, catalog, 0, 1, 0);
    EXPECT_EQ(warehouse.contents[1], axe);
    EXPECT_TRUE(isEmptySlot(warehouse.contents[0]));
    // Onto the kris, or off the grid: refused, nothing changed.
    const Storage before = warehouse;
    EXPECT_THROW(moveStorageItem(warehouse, catalog, 1, 2, 0), StorageError);
    EXPECT_THROW(moveStorageItem(warehouse, catalog, 1, 7, 12), StorageError);
    EXPECT_THROW(moveStorageItem(warehouse, catalog, 0, 5, 5), StorageError);  // empty slot
    EXPECT_EQ(warehouse.contents, before.contents);
    moveStorageItem(warehouse, catalog, 1, 6, 12);
    EXPECT_EQ(warehouse.contents[12 * 8 + 6], axe);
    EXPECT_TRUE(isEmptySlot(warehouse.contents[1]));

    // Set replaces the slot's item; the old one's cells are free for the new one.
    setStorageItem(warehouse, catalog, 3, item(0, 1));
    EXPECT_EQ(warehouse.contents[3], item(0, 1));
    EXPECT_THROW(setStorageItem(warehouse, catalog, 7, item(0, 1)), StorageError);
    EXPECT_THROW(setStorageItem(warehouse, catalog, 120, item(0, 0)), StorageError);

    removeStorageItem(warehouse, 3);
    EXPECT_TRUE(isEmptySlot(warehouse.contents[3]));
    EXPECT_THROW(removeStorageItem(warehouse, -1), StorageError);

    // An equipped slot takes any item and can move onto the grid.
    Storage inventory = emptyStorage(StorageKind::Inventory);
    setStorageItem(inventory, catalog, 1, axe);
    EXPECT_EQ(inventory.contents[1], axe);
    moveStorageItem(inventory, catalog, 1, 6, 5);
    EXPECT_TRUE(isEmptySlot(inventory.contents[1]));
    EXPECT_EQ(inventory.contents[12 + 5 * 8 + 6], axe);
}

TEST(StoragePlace, TransferBetweenEquippedSlotsAndTheGrid)
{
    const Catalog catalog = smallCatalog();
    Storage inventory = emptyStorage(StorageKind::Inventory);
    const StorageSlot axe = item(1, 0, 5);  // 2 x 3
    const StorageSlot kris = item(0, 0, 6);
    setStorageItem(inventory, catalog, 0, axe);
    setStorageItem(inventory, catalog, 3, kris);

    // Equipped to equipped: only into an empty slot.
    const Storage before = inventory;
    EXPECT_THROW(transferStorageItem(inventory, catalog, 0, 3), StorageError);
    EXPECT_THROW(transferStorageItem(inventory, catalog, 5, 3), StorageError);  // nothing to move
    EXPECT_THROW(transferStorageItem(inventory, catalog, 0, 76), StorageError);
    EXPECT_EQ(inventory.contents, before.contents);
    transferStorageItem(inventory, catalog, 0, 1);
    EXPECT_EQ(inventory.contents[1], axe);
    EXPECT_TRUE(isEmptySlot(inventory.contents[0]));

    // Equipped to the grid's last rows: the 2 x 3 axe fits at row 5, not row 6.
    EXPECT_THROW(transferStorageItem(inventory, catalog, 1, 12 + 6 * 8), StorageError);
    transferStorageItem(inventory, catalog, 1, 12 + 5 * 8);
    EXPECT_EQ(inventory.contents[12 + 5 * 8], axe);
    // The grid back to an empty equipped slot; the grid cells become free.
    transferStorageItem(inventory, catalog, 12 + 5 * 8, 9);
    EXPECT_EQ(inventory.contents[9], axe);
    EXPECT_EQ(std::count(inventory.contents.begin() + 12, inventory.contents.end(), kEmptySlot), 64);
}

TEST(StorageText, SqlQuotesOnlyNamesThatCannotEndTheString)
{
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    warehouse.contents[0] = item(0, 0, 1);
    const std::string hex = storageHex(warehouse);
    EXPECT_EQ(storageSql(warehouse, "Admin_01", defaultStorageTable(StorageKind::Warehouse)),
              "UPDATE warehouse SET Items = 0x" + hex + " WHERE AccountID = 'Admin_01';\n");
    EXPECT_EQ(storageSql(emptyStorage(StorageKind::Inventory), "Hero", defaultStorageTable(StorageKind::Inventory))
                  .substr(0, 40),
              "UPDATE Character SET Inventory = 0xFFFFF");
    for (const char* owner : {"a'--", "x' OR '1'='1", "", "Abcdefghijk", "a b", "h\xC3\xA9"}) {
        EXPECT_FALSE(isOwnerName(owner)) << owner;
        EXPECT_THROW(storageSql(warehouse, owner, defaultStorageTable(StorageKind::Warehouse)), StorageError) << owner;
    }
    StorageTable hostile = defaultStorageTable(StorageKind::Warehouse);
    hostile.column = "Items = 0x00 --";
    EXPECT_THROW(storageSql(warehouse, "Admin", hostile), StorageError);
    EXPECT_FALSE(isSqlIdentifier("1abc"));
    EXPECT_FALSE(isSqlIdentifier(std::string(129, 'a')));
    EXPECT_TRUE(isSqlIdentifier(std::string(128, 'a')));
}

TEST(StorageText, NamesMarkExcellentItems)
{
    const Catalog catalog = smallCatalog();
    StorageSlot blade = item(0, 1, 0, 3);
    EXPECT_EQ(storageItemName(catalog, blade), "Blade+3");
    blade[7] |= 0x04;  // one excellent option
    EXPECT_EQ(storageItemName(catalog, blade), "Excellent Blade+3");
}

std::vector<std::pair<int, std::string>> codes(const std::vector<Finding>& findings)
{
    std::vector<std::pair<int, std::string>> result;
    for (const Finding& f : findings)
        result.emplace_back(f.line, f.code);
    return result;
}

TEST(StorageCheck, EveryFindingAtItsSlot)
{
    const Catalog catalog = smallCatalog();
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    warehouse.contents[7] = item(0, 1);           // 2 x 2 at column 7: outside-grid
    warehouse.contents[1] = item(0, 0);           // Kris 1 x 2 at (1, 0)
    warehouse.contents[8] = item(0, 2);           // Bar 3 x 1 at (0, 1) crosses the kris at (1, 1): overlap
    warehouse.contents[16] = item(1, 0);          // Axe 2 x 3 at (0, 2)
    warehouse.contents[25] = item(0, 0, 5);       // (1, 3) lies under the axe: covered-slot
    warehouse.contents[40] = item(7, 9);          // unknown-item
    warehouse.contents[50] = item(0, 0, 0, 0, 3);
    warehouse.contents[50][7] |= 0x40;            // option 4 + 3: out-of-range
    warehouse.contents[60].fill(0);               // wiped-slot
    warehouse.contents[70] = item(0, 0, 5);       // duplicate-serial with slot 25
    warehouse.contents[112] = item(1, 0);         // Axe at row 14: outside-grid
    const std::vector<Finding> findings = checkStorage(warehouse, catalog);
    const std::vector<std::pair<int, std::string>> expected = {
        {7, "outside-grid"}, {8, "overlap"},       {25, "covered-slot"},     {40, "unknown-item"},
        {50, "out-of-range"}, {60, "wiped-slot"},  {70, "duplicate-serial"}, {112, "outside-grid"}};
    EXPECT_EQ(codes(findings), expected);
    for (const Finding& f : findings)
        EXPECT_EQ(f.severity, f.code == "wiped-slot" ? Finding::Severity::Warning : Finding::Severity::Error) << f.code;
    const auto message = [&](int slot) {
        return std::find_if(findings.begin(), findings.end(), [&](const Finding& f) { return f.line == slot; })->message;
    };
    EXPECT_NE(message(8).find("Bar (3 x 1) overlaps Kris (1 x 2) in slot 1"), std::string::npos) << message(8);
    EXPECT_NE(message(25).find("under Axe (2 x 3) in slot 16"), std::string::npos) << message(25);
    EXPECT_NE(message(50).find("option 7 is outside 0..4"), std::string::npos) << message(50);
    EXPECT_NE(message(70).find("serial 5 is also used by slot 25"), std::string::npos) << message(70);

    // Cleaned up, nothing is left to find.
    for (int slot : {7, 8, 25, 40, 50, 60, 70, 112})
        removeStorageItem(warehouse, slot);
    EXPECT_TRUE(checkStorage(warehouse, catalog).empty());
}

TEST(StorageCheck, EquippedSlotsHaveNoGridButKeepTheOtherRules)
{
    const Catalog catalog = smallCatalog();
    Storage inventory = emptyStorage(StorageKind::Inventory);
    for (int slot = 0; slot < kEquippedSlots; ++slot)
        inventory.contents[static_cast<size_t>(slot)] = item(1, 0);  // 2 x 3 each, side by side
    inventory.contents[12] = item(1, 0);
    EXPECT_TRUE(checkStorage(inventory, catalog).empty());
    inventory.contents[5] = item(9, 9);
    inventory.contents[6].fill(0);
    const std::vector<std::pair<int, std::string>> expected = {{5, "unknown-item"}, {6, "wiped-slot"}};
    EXPECT_EQ(codes(checkStorage(inventory, catalog)), expected);
    // The inventory grid has 8 rows: an axe at row 6 leaves it.
    inventory.contents[12 + 6 * 8] = item(1, 0);
    EXPECT_EQ(codes(checkStorage(inventory, catalog)).back(), (std::pair<int, std::string>{60, "outside-grid"}));
}

TEST(StorageCheck, DuplicateSerialsAcrossStorages)
{
    const Catalog catalog = smallCatalog();
    Storage warehouse = emptyStorage(StorageKind::Warehouse);
    Storage inventory = emptyStorage(StorageKind::Inventory);
    warehouse.contents[3] = item(0, 0, 123456);
    warehouse.contents[4] = item(0, 0);  // serial 0 is no serial
    inventory.contents[2] = item(0, 0);
    inventory.contents[20] = item(0, 0, 123456);
    EXPECT_TRUE(checkStorage(warehouse, catalog).empty());
    EXPECT_TRUE(checkStorage(inventory, catalog).empty());
    const auto findings = checkStorages({&warehouse, &inventory}, {"vault.bin", "hero.hex"}, catalog);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_TRUE(findings[0].empty());
    ASSERT_EQ(findings[1].size(), 1u);
    EXPECT_EQ(findings[1][0].line, 20);
    EXPECT_EQ(findings[1][0].code, "duplicate-serial");
    EXPECT_NE(findings[1][0].message.find("also used by vault.bin slot 3"), std::string::npos) << findings[1][0].message;
}

}  // namespace
}  // namespace vs
