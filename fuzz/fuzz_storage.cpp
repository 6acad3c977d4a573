// Storages from any bytes, with the shipped catalog. The first byte chooses
// the kind asked for (none, warehouse, inventory) and the edits tried; the
// rest is the file.
// - A refusal says why; a storage read is written back and read again to the
//   same slots and form, and writing is stable.
// - Findings come in slot order, on slots the storage has; the map draws every
//   grid row.
// - A refused edit changes nothing; a placed item's cell names its slot.
#include "storage/storage.h"
#include "storage/storage_text.h"
#include "fuzz_support.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    const std::optional<vs::StorageKind> asked = control % 3 == 1   ? std::optional(vs::StorageKind::Warehouse)
                                                 : control % 3 == 2 ? std::optional(vs::StorageKind::Inventory)
                                                                    : std::nullopt;
    const std::string_view bytes = fuzzBytes(data + 1, size - 1);
    vs::Storage storage;
    try {
        storage = vs::readStorage(bytes, asked);
    } catch (const vs::StorageError& e) {
        FUZZ_CHECK(std::string_view(e.what()).size() > 0, "a refusal says why");
        return 0;
    }
    const vs::Catalog& catalog = shippedCatalog();
    const int slots = static_cast<int>(storage.contents.size());
    FUZZ_CHECK(slots == vs::storageSlotCount(storage.kind), "the kind's number of slots");

    const std::string written = vs::writeStorage(storage);
    const vs::Storage again = vs::readStorage(written, storage.kind);
    FUZZ_CHECK(again.contents == storage.contents && again.form == storage.form, "written and read back the same");
    FUZZ_CHECK(vs::writeStorage(again) == written, "writing is stable");

    int last = 0;
    for (const vs::Finding& finding : vs::checkStorage(storage, catalog)) {
        FUZZ_CHECK(finding.line >= last && finding.line < slots, "findings in slot order, on slots it has");
        FUZZ_CHECK(!finding.code.empty() && !finding.message.empty(), "every finding has a code and a message");
        last = finding.line;
    }
    const std::string map = vs::storageMap(storage, catalog);
    int rows = 0;
    for (char c : map)
        rows += c == '\n';
    FUZZ_CHECK(rows >= vs::storageRows(storage.kind), "the map draws every grid row");

    // Edits chosen by the storage's own bytes: from the first item found, to a
    // slot chosen by the control byte.
    int item = -1;
    for (int s = 0; s < slots && item < 0; ++s)
        if (!vs::isEmptySlot(storage.contents[static_cast<size_t>(s)]))
            item = s;
    if (item < 0)
        return 0;
    const int to = (control * 7) % slots;
    const auto attempt = [&](auto edit) {
        const vs::Storage before = storage;
        try {
            edit();
            return true;
        } catch (const vs::StorageError&) {
            FUZZ_CHECK(storage.contents == before.contents, "a refused edit changes nothing");
            return false;
        }
    };
    const vs::StorageSlot code = storage.contents[static_cast<size_t>(item)];
    if (attempt([&] { vs::transferStorageItem(storage, catalog, item, to); })) {
        FUZZ_CHECK(storage.contents[static_cast<size_t>(to)] == code, "the item is in the slot it went to");
        if (const std::optional<vs::StorageCell> cell = vs::slotCell(storage.kind, to))
            FUZZ_CHECK(vs::storageOccupancy(storage, catalog)[static_cast<size_t>(cell->y * vs::kStorageColumns +
                                                                                  cell->x)] == to,
                       "a placed item's cell names its slot");
    }
    attempt([&] { vs::setStorageItem(storage, catalog, (to + 1) % slots, code); });
    attempt([&] { vs::removeStorageItem(storage, to); });
    FUZZ_CHECK(vs::isEmptySlot(storage.contents[static_cast<size_t>(to)]), "a removed slot is empty");
    return 0;
}
