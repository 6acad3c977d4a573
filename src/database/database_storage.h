#pragma once

#include "database/database_url.h"
#include "storage/storage.h"
#include "storage/storage_text.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSqlDatabase;

namespace vs {

class Catalog;

// One open connection to the server's database, closed when it goes. Each
// has a name of its own, so that several may be open at once.
class DatabaseConnection {
public:
    // Opens the database the URL names; `readOnly` asks the driver for a
    // connection that cannot write where it can. DatabaseError, one line,
    // when it cannot be opened (an SQLite file that does not exist included:
    // it is never made).
    DatabaseConnection(const DatabaseUrl& url, const std::string& password, bool readOnly = false);
    ~DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    const DatabaseUrl& url() const { return url_; }
    QSqlDatabase database() const;
    // Whether a name is bound as its UTF-8 bytes rather than as text: Qt's
    // ODBC driver hands a text value to the driver with its terminating
    // zero counted, which MySQL and MariaDB take as a character of the name.
    bool namesAsBytes() const { return namesAsBytes_; }

private:
    DatabaseUrl url_;
    std::string name_;
    bool namesAsBytes_ = false;
};

// The storage's row (`where` says the table and its key and items columns):
// its column's bytes, or none when no row has that key. The owner's name is
// bound as a value, whatever it holds. DatabaseError when a table or column
// name is no identifier, when more than one row has the key, or when reading fails.
std::optional<std::string> pullStorageBytes(DatabaseConnection& connection, const StorageTable& where,
                                            const std::string& owner);

enum class PushOutcome {
    Written,  // the row holds the new bytes
    Changed,  // the row no longer held the expected bytes: nothing was written
};
// Writes `bytes` into the owner's row in one transaction. With `expected`,
// only while the row still holds exactly those bytes (the count of rows the
// guarded UPDATE matched decides); without it, whatever the row holds.
// DatabaseError, and nothing written, when no row or more than one has the
// key or the database refuses.
PushOutcome pushStorageBytes(DatabaseConnection& connection, const StorageTable& where, const std::string& owner,
                             const std::string& bytes, const std::optional<std::string>& expected);

// One finding of a database check: whose storage and what.
struct StorageFinding {
    StorageKind kind = StorageKind::Warehouse;
    std::string owner;
    Finding finding;  // `line` is the slot; 0 for a row that holds no storage ("unreadable")
};

struct DatabaseCheckTotals {
    size_t warehouses = 0;
    size_t inventories = 0;
    size_t errors = 0;
    size_t warnings = 0;
};

// Reads every row of the tables given (one per kind) in one read-only
// transaction, a row at a time, and checks them as `storage check` checks
// files given together: each storage's own findings as its row is read,
// then, at the end, every serial more than one item holds, at each holder
// but the first, naming the others ("account NAME slot 3", "character NAME
// slot 14"). A row whose column holds no storage of its kind is an
// "unreadable" error.
DatabaseCheckTotals checkDatabaseStorages(DatabaseConnection& connection,
                                          const std::vector<std::pair<StorageKind, StorageTable>>& tables,
                                          const Catalog& catalog,
                                          const std::function<void(const StorageFinding&)>& report);

// "account NAME" or "character NAME".
std::string storageOwnerText(StorageKind kind, const std::string& owner);

}  // namespace vs
