#pragma once

#include "check/file_check.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

class Catalog;

// A character's inventory or an account's warehouse as the server stores it:
// a run of 10-byte slots, each empty (ten FF bytes) or holding one item's
// vault code. Items on the grid lie in the slot of their top-left cell; the
// other cells their catalog width x height covers hold empty slots.
enum class StorageKind { Warehouse, Inventory };

// How the file holding the storage was written: the bytes themselves, or
// their hexadecimal digits as text (with or without a leading "0x").
enum class StorageForm { Raw, Hex, PrefixedHex };

inline constexpr int kSlotBytes = 10;
inline constexpr int kWarehouseSlots = 120;
inline constexpr int kInventorySlots = 76;
inline constexpr int kEquippedSlots = 12;  // the inventory's first slots, off the grid
inline constexpr int kStorageColumns = 8;

using StorageSlot = std::array<uint8_t, kSlotBytes>;

struct Storage {
    StorageKind kind = StorageKind::Warehouse;
    StorageForm form = StorageForm::Raw;
    std::string lineEnd;  // a text file's final line break, written back as read
    std::vector<StorageSlot> contents;  // the slots in order
};

// A storage file that cannot be read, a placement that does not fit: the
// message says what was found.
class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int storageSlotCount(StorageKind kind);
int storageRows(StorageKind kind);  // 15 for a warehouse, 8 for an inventory's grid
std::string_view storageKindName(StorageKind kind);  // "warehouse", "inventory"
// The name of an inventory's equipped slot 0..11 ("right hand", ...), else empty.
std::string_view equippedSlotName(int slot);

struct StorageCell {
    int x = 0;
    int y = 0;
};

// The grid cell of a slot; none for an equipped slot or a slot beyond the storage.
std::optional<StorageCell> slotCell(StorageKind kind, int slot);
// The slot of a grid cell; none for a cell outside the grid.
std::optional<int> cellSlot(StorageKind kind, int x, int y);

// Reads a storage file: exactly 1,200 (warehouse) or 760 (inventory) bytes, or
// text holding twice as many hexadecimal digits, either case, optionally after
// "0x", with blanks and line breaks anywhere between them. `kind`, when given,
// is the only kind accepted; otherwise the length tells it. StorageError otherwise.
Storage readStorage(std::string_view bytes, std::optional<StorageKind> kind = std::nullopt);
// The file's bytes in the form it was read in; text becomes one line of
// upper-case digits (keeping a "0x" and the final line break).
std::string writeStorage(const Storage& storage);
// All slots as upper-case hexadecimal digits, without a prefix.
std::string storageHex(const Storage& storage);

bool isEmptySlot(const StorageSlot& slot);
inline constexpr StorageSlot kEmptySlot = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
std::string slotHex(const StorageSlot& slot);
// 20 hexadecimal digits in either case; none for anything else.
std::optional<StorageSlot> slotFromHex(std::string_view hex);

// The width and height the item in a slot takes on the grid: the catalog's,
// or 1 x 1 for an item the catalog lacks or an all-zero slot.
StorageCell slotItemSize(const StorageSlot& slot, const Catalog& catalog);

// For every grid cell (row by row), the slot whose item covers it, or -1.
// Where items overlap, the lower slot wins.
std::vector<int> storageOccupancy(const Storage& storage, const Catalog& catalog);

// Puts the item into the slot of cell (x, y), its other cells becoming empty
// slots. StorageError, and nothing changed, when the item is one the catalog
// lacks, its rectangle leaves the grid or it covers a cell another item holds.
void placeStorageItem(Storage& storage, const Catalog& catalog, const StorageSlot& item, int x, int y);
// Empties the slot (and so the cells its item covered).
void removeStorageItem(Storage& storage, int slot);
// Moves the item in `slot` to cell (x, y), its own old cells counting as free;
// StorageError, and nothing changed, when the slot is empty or the item does not fit.
void moveStorageItem(Storage& storage, const Catalog& catalog, int slot, int x, int y);
// Moves the item in `from` to the slot `to`: an equipped slot takes it as it
// is when empty, a grid slot as moveStorageItem does at its cell. StorageError,
// and nothing changed, when `from` is empty, the equipped slot is taken or the
// item does not fit.
void transferStorageItem(Storage& storage, const Catalog& catalog, int from, int to);
// Replaces the item in `slot`: an equipped slot takes it as it is, a grid slot
// as placeStorageItem does at its cell once the old item is gone.
void setStorageItem(Storage& storage, const Catalog& catalog, int slot, const StorageSlot& item);

// Checks a storage; each finding's `line` is the SLOT number, and findings
// come in slot order. Codes: outside-grid, overlap, covered-slot,
// unknown-item, out-of-range, duplicate-serial (errors), wiped-slot (warning).
std::vector<Finding> checkStorage(const Storage& storage, const Catalog& catalog);
// Checks several storages together: a serial used twice is an error also
// across them. `names` name the storages in those messages; one list of
// findings per storage.
std::vector<std::vector<Finding>> checkStorages(const std::vector<const Storage*>& storages,
                                                const std::vector<std::string>& names, const Catalog& catalog);

// Checks storages one after another, as they come (from files or a database's
// rows), keeping of each only its kind and its items' serials (8 bytes an
// item), so that a serial held by more than one item is found across all of
// them at the end.
class StorageChecker {
public:
    explicit StorageChecker(const Catalog& catalog) : catalog_(catalog) {}

    // The storage's findings of every code but duplicate-serial, in slot order;
    // its serials are remembered as held by storage number count() before the
    // call. StorageError past 33,554,431 storages.
    std::vector<Finding> add(const Storage& storage);
    size_t count() const { return kinds_.size(); }
    StorageKind kind(size_t storage) const { return static_cast<StorageKind>(kinds_[storage]); }

    struct Holder {
        size_t storage = 0;
        int slot = 0;
        bool operator==(const Holder&) const = default;
    };
    struct SharedSerial {
        int32_t serial = 0;
        std::vector<Holder> holders;  // in the order they were added, two or more
    };
    // Every serial more than one item holds, ordered by where its second holder was added.
    std::vector<SharedSerial> sharedSerials() const;
    // The duplicate-serial finding of `shared`'s holder number `at` (its slot
    // as the line), naming every other holder: by its slot alone when in the
    // same storage, else as `name(storage)` and its slot.
    Finding sharedSerialFinding(const SharedSerial& shared, size_t at,
                                const std::function<std::string(size_t storage)>& name) const;

private:
    const Catalog& catalog_;
    std::vector<uint8_t> kinds_;
    std::vector<uint64_t> serials_;  // unsigned serial << 32 | storage << 7 | slot
};

}  // namespace vs
