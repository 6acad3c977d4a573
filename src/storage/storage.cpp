#include "storage/storage.h"

#include "catalog/catalog.h"
#include "catalog/text_utils.h"
#include "codes/vault_decode.h"

#include <algorithm>

namespace vs {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// 1200 -> "1,200".
std::string grouped(size_t n)
{
    const std::string digits = std::to_string(n);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string shownChar(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F)
        return std::string("'") + c + "'";
    std::string hex = "byte 0x";
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte & 15];
    return hex;
}

size_t rawSize(StorageKind kind)
{
    return static_cast<size_t>(storageSlotCount(kind)) * kSlotBytes;
}

// What lengths a file may have, for messages.
std::string expectedLengths(std::optional<StorageKind> kind, bool digits)
{
    const auto size = [&](StorageKind k) { return grouped(rawSize(k) * (digits ? 2 : 1)); };
    const char* unit = digits ? " hexadecimal digits" : " bytes";
    if (kind)
        return (*kind == StorageKind::Warehouse ? "a " : "an ") + std::string(storageKindName(*kind)) + " holds " + size(*kind) + unit;
    return "a warehouse holds " + size(StorageKind::Warehouse) + unit + " and an inventory " +
           size(StorageKind::Inventory);
}

std::vector<StorageSlot> slotsOf(std::string_view bytes)
{
    std::vector<StorageSlot> slots(bytes.size() / kSlotBytes);
    for (size_t i = 0; i < bytes.size(); ++i)
        slots[i / kSlotBytes][i % kSlotBytes] = static_cast<uint8_t>(bytes[i]);
    return slots;
}

bool isZeroSlot(const StorageSlot& slot)
{
    return std::all_of(slot.begin(), slot.end(), [](uint8_t b) { return b == 0; });
}

struct Rect {
    int x, y, w, h;
    bool contains(int cx, int cy) const { return cx >= x && cx < x + w && cy >= y && cy < y + h; }
    bool meets(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

std::string itemLabel(const StorageSlot& slot, const Catalog& catalog)
{
    const DecodedVault item = *decodeVaultCode(slotHex(slot));
    const StorageCell size = slotItemSize(slot, catalog);
    const clsItemProperty* known = catalog.item(item.classIndex, item.typeIndex);
    std::string name = known ? known->name
                             : "item " + std::to_string(item.typeIndex) + " of class " + std::to_string(item.classIndex);
    return name + " (" + std::to_string(size.x) + " x " + std::to_string(size.y) + ")";
}

std::string cellText(int x, int y)
{
    return "column " + std::to_string(x) + ", row " + std::to_string(y);
}

// "slot 3", and for an inventory's equipped slot its name: "slot 3 (armour)".
std::string slotText(StorageKind kind, int slot)
{
    std::string text = "slot " + std::to_string(slot);
    if (std::string_view equipped = equippedSlotName(slot); kind == StorageKind::Inventory && !equipped.empty())
        text += " (" + std::string(equipped) + ")";
    return text;
}

void checkSlotIndex(const Storage& storage, int slot)
{
    if (slot < 0 || slot >= static_cast<int>(storage.contents.size()))
        throw StorageError("slot " + std::to_string(slot) + " is not in the " +
                           std::string(storageKindName(storage.kind)) + " (slots 0.." +
                           std::to_string(storage.contents.size() - 1) + ")");
}

}  // namespace

int storageSlotCount(StorageKind kind)
{
    return kind == StorageKind::Warehouse ? kWarehouseSlots : kInventorySlots;
}

int storageRows(StorageKind kind)
{
    return kind == StorageKind::Warehouse ? 15 : 8;
}

std::string_view storageKindName(StorageKind kind)
{
    return kind == StorageKind::Warehouse ? "warehouse" : "inventory";
}

std::string_view equippedSlotName(int slot)
{
    static constexpr std::array<std::string_view, kEquippedSlots> names = {
        "right hand", "left hand", "helm",     "armour",  "pants",  "gloves",
        "boots",      "wings",     "guardian", "pendant", "ring 1", "ring 2"};
    return slot >= 0 && slot < kEquippedSlots ? names[static_cast<size_t>(slot)] : std::string_view();
}

std::optional<StorageCell> slotCell(StorageKind kind, int slot)
{
    const int first = kind == StorageKind::Inventory ? kEquippedSlots : 0;
    if (slot < first || slot >= storageSlotCount(kind))
        return std::nullopt;
    return StorageCell{(slot - first) % kStorageColumns, (slot - first) / kStorageColumns};
}

std::optional<int> cellSlot(StorageKind kind, int x, int y)
{
    if (x < 0 || x >= kStorageColumns || y < 0 || y >= storageRows(kind))
        return std::nullopt;
    return (kind == StorageKind::Inventory ? kEquippedSlots : 0) + y * kStorageColumns + x;
}

Storage readStorage(std::string_view bytes, std::optional<StorageKind> kind)
{
    Storage storage;
    for (StorageKind k : {StorageKind::Warehouse, StorageKind::Inventory})
        if ((!kind || *kind == k) && bytes.size() == rawSize(k)) {
            storage.kind = k;
            storage.form = StorageForm::Raw;
            storage.contents = slotsOf(bytes);
            return storage;
        }
    if (bytes.empty())
        throw StorageError("the file is empty; " + expectedLengths(kind, false));

    size_t at = 0;
    while (at < bytes.size() && isBlank(bytes[at]))
        ++at;
    storage.form = StorageForm::Hex;
    if (at + 1 < bytes.size() && bytes[at] == '0' && (bytes[at + 1] == 'x' || bytes[at + 1] == 'X')) {
        storage.form = StorageForm::PrefixedHex;
        at += 2;
    }
    std::string digits;
    for (; at < bytes.size(); ++at) {
        if (isBlank(bytes[at]))
            continue;
        if (hexDigitValue(bytes[at]) < 0)
            throw StorageError("the file holds " + grouped(bytes.size()) + " bytes, which is not " +
                               expectedLengths(kind, false) + ", and is no hexadecimal text: " +
                               shownChar(bytes[at]) + " at byte " + grouped(at + 1) + " is not a hexadecimal digit");
        digits += bytes[at];
    }
    bool fits = false;
    for (StorageKind k : {StorageKind::Warehouse, StorageKind::Inventory})
        if ((!kind || *kind == k) && digits.size() == 2 * rawSize(k)) {
            storage.kind = k;
            fits = true;
        }
    if (!fits)
        throw StorageError("the file holds " + grouped(digits.size()) + " hexadecimal digit" +
                           (digits.size() == 1 ? "" : "s") + "; " + expectedLengths(kind, true));
    std::string raw(digits.size() / 2, '\0');
    for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<char>(hexDigitValue(digits[2 * i]) * 16 + hexDigitValue(digits[2 * i + 1]));
    storage.contents = slotsOf(raw);
    if (bytes.ends_with("\r\n"))
        storage.lineEnd = "\r\n";
    else if (bytes.ends_with("\n"))
        storage.lineEnd = "\n";
    return storage;
}

std::string storageHex(const Storage& storage)
{
    std::string hex;
    hex.reserve(storage.contents.size() * kSlotBytes * 2);
    for (const StorageSlot& slot : storage.contents)
        hex += slotHex(slot);
    return hex;
}

std::string writeStorage(const Storage& storage)
{
    if (storage.form == StorageForm::Raw) {
        std::string raw;
        raw.reserve(storage.contents.size() * kSlotBytes);
        for (const StorageSlot& slot : storage.contents)
            raw.append(reinterpret_cast<const char*>(slot.data()), slot.size());
        return raw;
    }
    return (storage.form == StorageForm::PrefixedHex ? "0x" : "") + storageHex(storage) + storage.lineEnd;
}

bool isEmptySlot(const StorageSlot& slot)
{
    return slot == kEmptySlot;
}

std::string slotHex(const StorageSlot& slot)
{
    std::string hex;
    for (uint8_t byte : slot) {
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 15];
    }
    return hex;
}

std::optional<StorageSlot> slotFromHex(std::string_view hex)
{
    if (hex.size() != 2 * kSlotBytes)
        return std::nullopt;
    StorageSlot slot{};
    for (size_t i = 0; i < slot.size(); ++i) {
        const int high = hexDigitValue(hex[2 * i]);
        const int low = hexDigitValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        slot[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return slot;
}

StorageCell slotItemSize(const StorageSlot& slot, const Catalog& catalog)
{
    if (isZeroSlot(slot))
        return {1, 1};
    const DecodedVault item = *decodeVaultCode(slotHex(slot));
    const clsItemProperty* known = catalog.item(item.classIndex, item.typeIndex);
    if (!known || known->width < 1 || known->height < 1)
        return {1, 1};
    return {known->width, known->height};
}

std::vector<int> storageOccupancy(const Storage& storage, const Catalog& catalog)
{
    const int rows = storageRows(storage.kind);
    std::vector<int> cells(static_cast<size_t>(kStorageColumns * rows), -1);
    for (int s = 0; s < static_cast<int>(storage.contents.size()); ++s) {
        const std::optional<StorageCell> at = slotCell(storage.kind, s);
        if (!at || isEmptySlot(storage.contents[static_cast<size_t>(s)]))
            continue;
        const StorageCell size = slotItemSize(storage.contents[static_cast<size_t>(s)], catalog);
        for (int y = at->y; y < std::min(rows, at->y + size.y); ++y)
            for (int x = at->x; x < std::min(kStorageColumns, at->x + size.x); ++x) {
                int& cell = cells[static_cast<size_t>(y * kStorageColumns + x)];
                if (cell < 0)
                    cell = s;
            }
    }
    return cells;
}

void placeStorageItem(Storage& storage, const Catalog& catalog, const StorageSlot& item, int x, int y)
{
    if (isEmptySlot(item))
        throw StorageError("ten FF bytes are an empty slot, not an item");
    const int rows = storageRows(storage.kind);
    if (!cellSlot(storage.kind, x, y))
        throw StorageError(cellText(x, y) + " is not on the " + std::to_string(kStorageColumns) + " x " +
                           std::to_string(rows) + " grid");
    const DecodedVault fields = *decodeVaultCode(slotHex(item));
    const clsItemProperty* known = catalog.item(fields.classIndex, fields.typeIndex);
    if (!known)
        throw StorageError("the catalog has no item " + std::to_string(fields.typeIndex) + " in class " +
                           std::to_string(fields.classIndex) + ", so its size on the grid is unknown");
    const StorageCell size = slotItemSize(item, catalog);
    if (x + size.x > kStorageColumns || y + size.y > rows)
        throw StorageError(itemLabel(item, catalog) + " at " + cellText(x, y) + " would leave the " +
                           std::to_string(kStorageColumns) + " x " + std::to_string(rows) + " grid");
    const std::vector<int> cells = storageOccupancy(storage, catalog);
    for (int cy = y; cy < y + size.y; ++cy)
        for (int cx = x; cx < x + size.x; ++cx)
            if (const int holder = cells[static_cast<size_t>(cy * kStorageColumns + cx)]; holder >= 0)
                throw StorageError(itemLabel(item, catalog) + " at " + cellText(x, y) + " would cover " +
                                   cellText(cx, cy) + ", which the item in slot " + std::to_string(holder) +
                                   " holds");
    for (int cy = y; cy < y + size.y; ++cy)
        for (int cx = x; cx < x + size.x; ++cx)
            storage.contents[static_cast<size_t>(*cellSlot(storage.kind, cx, cy))] = kEmptySlot;
    storage.contents[static_cast<size_t>(*cellSlot(storage.kind, x, y))] = item;
}

void removeStorageItem(Storage& storage, int slot)
{
    checkSlotIndex(storage, slot);
    storage.contents[static_cast<size_t>(slot)] = kEmptySlot;
}

void moveStorageItem(Storage& storage, const Catalog& catalog, int slot, int x, int y)
{
    checkSlotIndex(storage, slot);
    const StorageSlot item = storage.contents[static_cast<size_t>(slot)];
    if (isEmptySlot(item))
        throw StorageError(slotText(storage.kind, slot) + " is empty; there is no item to move");
    Storage moved = storage;
    moved.contents[static_cast<size_t>(slot)] = kEmptySlot;
    placeStorageItem(moved, catalog, item, x, y);
    storage = std::move(moved);
}

void transferStorageItem(Storage& storage, const Catalog& catalog, int from, int to)
{
    checkSlotIndex(storage, from);
    checkSlotIndex(storage, to);
    if (const std::optional<StorageCell> at = slotCell(storage.kind, to)) {
        moveStorageItem(storage, catalog, from, at->x, at->y);
        return;
    }
    const StorageSlot item = storage.contents[static_cast<size_t>(from)];
    if (isEmptySlot(item))
        throw StorageError(slotText(storage.kind, from) + " is empty; there is no item to move");
    if (from == to)
        return;
    if (!isEmptySlot(storage.contents[static_cast<size_t>(to)]))
        throw StorageError(slotText(storage.kind, to) + " already holds an item");
    storage.contents[static_cast<size_t>(to)] = item;
    storage.contents[static_cast<size_t>(from)] = kEmptySlot;
}

void setStorageItem(Storage& storage, const Catalog& catalog, int slot, const StorageSlot& item)
{
    checkSlotIndex(storage, slot);
    if (isEmptySlot(item))
        throw StorageError("ten FF bytes are an empty slot, not an item");
    const std::optional<StorageCell> at = slotCell(storage.kind, slot);
    if (!at) {
        storage.contents[static_cast<size_t>(slot)] = item;
        return;
    }
    Storage changed = storage;
    changed.contents[static_cast<size_t>(slot)] = kEmptySlot;
    placeStorageItem(changed, catalog, item, at->x, at->y);
    storage = std::move(changed);
}

std::vector<Finding> StorageChecker::add(const Storage& storage)
{
    constexpr size_t kMostStorages = size_t{1} << 25;
    if (kinds_.size() >= kMostStorages)
        throw StorageError("a check holds at most 33,554,431 storages");
    const size_t which = kinds_.size();
    kinds_.push_back(static_cast<uint8_t>(storage.kind));
    std::vector<Finding> found;
    const auto add = [&](int slot, Finding::Severity severity, const char* code, std::string message) {
        found.push_back(Finding{slot, severity, code, std::move(message)});
    };
    const Catalog& catalog = catalog_;
    const int rows = storageRows(storage.kind);
    const int count = static_cast<int>(storage.contents.size());
    std::vector<std::optional<Rect>> rects(storage.contents.size());

    for (int s = 0; s < count; ++s) {
        const StorageSlot& slot = storage.contents[static_cast<size_t>(s)];
        if (isEmptySlot(slot))
            continue;
        const std::optional<StorageCell> at = slotCell(storage.kind, s);
        const StorageCell size = slotItemSize(slot, catalog);
        if (at)
            rects[static_cast<size_t>(s)] = Rect{at->x, at->y, size.x, size.y};
        if (isZeroSlot(slot)) {
            add(s, Finding::Severity::Warning, "wiped-slot",
                slotText(storage.kind, s) + " holds ten zero bytes, likely a wiped item rather than a real one");
            continue;
        }
        const DecodedVault item = *decodeVaultCode(slotHex(slot));
        if (!catalog.item(item.classIndex, item.typeIndex))
            add(s, Finding::Severity::Error, "unknown-item",
                "the catalog has no item " + std::to_string(item.typeIndex) + " in class " +
                    std::to_string(item.classIndex));
        // The code's bit fields hold the decoded ranges; an option beyond 4
        // is the one value they can carry that the server does not know.
        const int option = ((slot[7] & 0x40) ? 4 : 0) + (slot[1] & 3);
        const struct {
            const char* name;
            int value, lo, hi;
        } fields[] = {{"class", item.classIndex, 0, 15}, {"index", item.typeIndex, 0, 31},
                      {"level", item.level, 0, 15},       {"durability", item.dur, 0, 255},
                      {"skill", item.skill, 0, 1},        {"luck", item.luck, 0, 1},
                      {"option", option, 0, 4}};
        for (const auto& field : fields)
            if (field.value < field.lo || field.value > field.hi)
                add(s, Finding::Severity::Error, "out-of-range",
                    std::string(field.name) + " " + std::to_string(field.value) + " is outside " +
                        std::to_string(field.lo) + ".." + std::to_string(field.hi));
        if (at && (at->x + size.x > kStorageColumns || at->y + size.y > rows))
            add(s, Finding::Severity::Error, "outside-grid",
                itemLabel(slot, catalog) + " at " + cellText(at->x, at->y) + " leaves the " +
                    std::to_string(kStorageColumns) + " x " + std::to_string(rows) + " grid");
        if (item.serial != 0)
            serials_.push_back(uint64_t{static_cast<uint32_t>(item.serial)} << 32 | uint64_t{which} << 7 |
                               static_cast<uint64_t>(s));
    }

    for (int b = 0; b < count; ++b) {
        const auto& inner = rects[static_cast<size_t>(b)];
        if (!inner)
            continue;
        for (int a = 0; a < count; ++a) {
            const auto& outer = rects[static_cast<size_t>(a)];
            if (a == b || !outer)
                continue;
            if (outer->contains(inner->x, inner->y)) {
                add(b, Finding::Severity::Error, "covered-slot",
                    slotText(storage.kind, b) + " holds an item but lies under " +
                        itemLabel(storage.contents[static_cast<size_t>(a)], catalog) + " in slot " +
                        std::to_string(a));
            } else if (a < b && outer->meets(*inner) && !inner->contains(outer->x, outer->y)) {
                add(b, Finding::Severity::Error, "overlap",
                    itemLabel(storage.contents[static_cast<size_t>(b)], catalog) + " overlaps " +
                        itemLabel(storage.contents[static_cast<size_t>(a)], catalog) + " in slot " +
                        std::to_string(a));
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Finding& l, const Finding& r) { return l.line < r.line; });
    return found;
}

std::vector<StorageChecker::SharedSerial> StorageChecker::sharedSerials() const
{
    std::vector<uint64_t> sorted = serials_;
    std::sort(sorted.begin(), sorted.end());
    std::vector<SharedSerial> shared;
    for (size_t first = 0; first < sorted.size();) {
        size_t end = first + 1;
        while (end < sorted.size() && sorted[end] >> 32 == sorted[first] >> 32)
            ++end;
        if (end - first > 1) {
            SharedSerial serial{static_cast<int32_t>(static_cast<uint32_t>(sorted[first] >> 32)), {}};
            for (size_t i = first; i < end; ++i)
                serial.holders.push_back(Holder{static_cast<size_t>((sorted[i] >> 7) & 0x1FFFFFF),
                                                static_cast<int>(sorted[i] & 0x7F)});
            shared.push_back(std::move(serial));
        }
        first = end;
    }
    std::sort(shared.begin(), shared.end(), [](const SharedSerial& l, const SharedSerial& r) {
        return std::pair(l.holders[1].storage, l.holders[1].slot) < std::pair(r.holders[1].storage, r.holders[1].slot);
    });
    return shared;
}

Finding StorageChecker::sharedSerialFinding(const SharedSerial& shared, size_t at,
                                            const std::function<std::string(size_t storage)>& name) const
{
    const Holder& self = shared.holders[at];
    std::string others;
    for (const Holder& other : shared.holders) {
        if (other == self)
            continue;
        if (!others.empty())
            others += ", ";
        if (other.storage != self.storage)
            others += name(other.storage) + " ";
        others += slotText(kind(other.storage), other.slot);
    }
    return Finding{self.slot, Finding::Severity::Error, "duplicate-serial",
                   "serial " + std::to_string(shared.serial) + " is also used by " + others};
}

std::vector<std::vector<Finding>> checkStorages(const std::vector<const Storage*>& storages,
                                                const std::vector<std::string>& names, const Catalog& catalog)
{
    StorageChecker checker(catalog);
    std::vector<std::vector<Finding>> all;
    for (const Storage* storage : storages)
        all.push_back(checker.add(*storage));
    for (const StorageChecker::SharedSerial& shared : checker.sharedSerials())
        for (size_t at = 1; at < shared.holders.size(); ++at)
            all[shared.holders[at].storage].push_back(
                checker.sharedSerialFinding(shared, at, [&](size_t storage) { return names[storage]; }));
    // Within a slot: what the item is, then whose serial it shares, then what it covers.
    const auto rank = [](const Finding& f) {
        return f.code == "duplicate-serial" ? 1 : f.code == "covered-slot" || f.code == "overlap" ? 2 : 0;
    };
    for (std::vector<Finding>& findings : all)
        std::stable_sort(findings.begin(), findings.end(), [&](const Finding& l, const Finding& r) {
            return std::pair(l.line, rank(l)) < std::pair(r.line, rank(r));
        });
    return all;
}

std::vector<Finding> checkStorage(const Storage& storage, const Catalog& catalog)
{
    return checkStorages({&storage}, {std::string()}, catalog).front();
}

}  // namespace vs
