#pragma once

#include "document/list_entry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// What a recovery file holds of a document with unsaved changes, so that a
// program killed before Save can bring the document back as it was.
struct Recovery {
    enum class Kind { List, Storage };
    Kind kind = Kind::List;
    int64_t writtenAtMs = 0;  // milliseconds since the epoch
    int64_t pid = 0;          // the process that wrote it
    std::string path;         // the document's file, empty for none

    // A list: its layout and code page by name, the bytes it was read from
    // (so that unchanged lines are written back as read) and its entries with
    // their kinds, remainders and origins.
    std::string layout;
    std::string encoding;
    std::string source;
    EntryList entries;

    // A storage: its kind by name ("warehouse", "inventory") and its bytes as Save writes them.
    std::string storageKind;
    std::string storageBytes;
    // A storage read from the server's database: where its row is (the URL,
    // table, key column, items column, owner) and the bytes the row held when
    // it was read. Empty URL for a storage of a file. Never a password.
    std::string databaseUrl;
    std::string databaseTable;
    std::string databaseKey;
    std::string databaseColumn;
    std::string databaseOwner;
    std::string databaseOriginal;
};

// The recovery as bytes: a first line naming the format, then every field as
// a length-counted string, so that any bytes survive.
std::string encodeRecovery(const Recovery& recovery);
// The same for a list whose source bytes and entries stand elsewhere (the
// open document), without copying them first; the recovery's own are not used.
std::string encodeListRecovery(const Recovery& recovery, std::string_view source, const EntryList& entries);
// The recovery the bytes hold; none for bytes that are not a whole recovery of this format.
std::optional<Recovery> decodeRecovery(std::string_view bytes);

}  // namespace vs
