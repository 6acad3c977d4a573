// File > Open Storage from Database...: a storage read from the server's
// database into a storage window bound to its row, and written back only
// while the row still holds what was read.
#include "database/database_storage.h"
#include "database/database_url.h"
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/settings.h"
#include "window/text_bytes.h"

#include <QUndoStack>
#include <QUrl>

namespace vs {

namespace {

constexpr const char* kLastUrlKey = "database/lastUrl";

// The settings key of a connection's schema: the URL percent-encoded, so that
// its slashes make no groups.
QString schemaKey(const QString& url, StorageKind kind)
{
    return "database/schema/" + QString::fromLatin1(QUrl::toPercentEncoding(url)) + "/" +
           QString::fromLatin1(storageKindName(kind).data(), int(storageKindName(kind).size()));
}

StorageTable rememberedTable(const QString& url, StorageKind kind)
{
    const QStringList names = settings().value(schemaKey(url, kind)).toStringList();
    if (names.size() != 3)
        return defaultStorageTable(kind);
    return {names[0].toStdString(), names[1].toStdString(), names[2].toStdString()};
}

}  // namespace

void formTolvane::mnuOpenStorageDb_Click()
{
    DatabaseStorageRequest request;
    request.url = settings().value(kLastUrlKey).toString();
    for (const StorageKind kind : {StorageKind::Warehouse, StorageKind::Inventory})
        request.tables[kind == StorageKind::Warehouse ? 0 : 1] = rememberedTable(request.url, kind);
    if (!dialogs_.askDatabaseStorage(this, request)) {
        tellUser(StatusColor::Yellow, QString("Open Storage from Database> Cancelled."));
        return;
    }
    // The connection and its schema are remembered; the password never is.
    settings().setValue(kLastUrlKey, request.url);
    for (const StorageKind kind : {StorageKind::Warehouse, StorageKind::Inventory}) {
        const StorageTable& where = request.tables[kind == StorageKind::Warehouse ? 0 : 1];
        settings().setValue(schemaKey(request.url, kind),
                            QStringList({QString::fromStdString(where.table), QString::fromStdString(where.column),
                                         QString::fromStdString(where.keyColumn)}));
    }
    openDatabaseStorage(request.url.toStdString(), request.kind, request.owner.toStdString(), request.table(),
                        std::nullopt);
}

formStorage* formTolvane::openDatabaseStorage(const std::string& url, StorageKind kind, const std::string& owner,
                                              const StorageTable& table, std::optional<std::string> password)
{
    const QString command = "Open Storage from Database> ";
    const QString whose = fromBytes(storageOwnerText(kind, owner));
    if (owner.empty()) {
        tellUser(StatusColor::Yellow, command + "Name the account or character whose storage to open.");
        return nullptr;
    }
    try {
        const DatabaseUrl where = parseDatabaseUrl(url);
        if (!password && takesPassword(where))
            password = passwordFromEnvironment();
        if (!password && takesPassword(where)) {
            const std::optional<QString> typed = dialogs_.askPassword(
                this, "Open Storage from Database", "The password of " + fromBytes(where.user) + " on " + fromBytes(url) + ":");
            if (!typed) {
                tellUser(StatusColor::Yellow, command + "Cancelled; no password was given.");
                return nullptr;
            }
            password = typed->toStdString();
        }
        DatabaseConnection connection(where, password.value_or(std::string()));
        const std::optional<std::string> bytes = pullStorageBytes(connection, table, owner);
        if (!bytes) {
            tellUser(StatusColor::Yellow, command + "No row of " + fromBytes(table.table) + " belongs to " + whose + ".");
            return nullptr;
        }
        Storage storage = readStorage(*bytes, kind);
        const QString count = itemCount(storage);
        formStorage* window = showStorage(std::move(storage), QString());
        window->bindToDatabase({url, password.value_or(std::string()), table, owner, *bytes});
        tellUser(StatusColor::Green, command + whose + ": " + count + ", from " + fromBytes(url) + ".");
        return window;
    } catch (const DatabaseError& e) {
        tellUser(StatusColor::Yellow, command + fromBytes(e.what()));
    } catch (const StorageError& e) {
        tellUser(StatusColor::Yellow, command + "The row of " + whose + " holds no " +
                                          fromBytes(std::string(storageKindName(kind))) + ": " + fromBytes(e.what()));
    }
    return nullptr;
}

void formStorage::bindToDatabase(DatabaseBinding binding)
{
    database_ = std::move(binding);
    updateTitle();
}

bool formStorage::writeToDatabase()
{
    const QString command = "Save Storage> ";
    const DatabaseBinding& where = *database_;
    const QString whose = fromBytes(storageOwnerText(storage_.kind, where.owner));
    Storage raw = storage_;
    raw.form = StorageForm::Raw;  // the column holds the bytes themselves
    const std::string bytes = writeStorage(raw);
    PushOutcome outcome = PushOutcome::Changed;
    try {
        const DatabaseUrl url = parseDatabaseUrl(where.url);
        // A window restored from a recovery knows no password: it is asked for once.
        if (where.password.empty() && takesPassword(url)) {
            if (std::optional<std::string> fromEnvironment = passwordFromEnvironment()) {
                database_->password = *fromEnvironment;
            } else {
                const std::optional<QString> typed = main_.dialogs().askPassword(
                    this, "Save Storage", "The password of " + fromBytes(url.user) + " on " + fromBytes(where.url) + ":");
                if (!typed) {
                    say(StatusColor::Yellow, command + "Cancelled; no password was given, and nothing was written.");
                    return false;
                }
                database_->password = typed->toStdString();
            }
        }
        DatabaseConnection connection(url, where.password);
        outcome = pushStorageBytes(connection, where.table, where.owner, bytes, where.original);
    } catch (const DatabaseError& e) {
        // The password may be what failed: the next Save asks for it again.
        database_->password.clear();
        say(StatusColor::Yellow, command + fromBytes(e.what()) + "; nothing was written.");
        return false;
    }
    if (outcome == PushOutcome::Written) {
        database_->original = bytes;
        history_->setClean();
        updateTitle();
        say(StatusColor::Green, command + "Written to the database: the " +
                                    fromBytes(std::string(storageKindName(storage_.kind))) + " of " + whose + ".");
        return true;
    }
    // Someone (the server, another operator) changed the row since it was read.
    const QString changed = "The row of " + whose + " changed in the database since it was read; nothing was written.";
    say(StatusColor::Yellow, command + changed);
    switch (main_.dialogs().askConflict(this, "Save Storage",
                                        changed + " Reload shows the database's version in a window of its own, so "
                                                  "that the edits can be made again there; this window keeps them.")) {
    case ConflictAnswer::Reload:
        main_.openDatabaseStorage(where.url, storage_.kind, where.owner, where.table, where.password);
        break;
    case ConflictAnswer::SaveToFile:
        return saveAs();
    case ConflictAnswer::Cancel:
        break;
    }
    return false;
}

}  // namespace vs
