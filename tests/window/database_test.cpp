// File > Open Storage from Database... against an SQLite file: a warehouse
// read into a window bound to its row, edited and saved back; a row changed
// in the database meanwhile is never overwritten, and the window keeps its edits.
#include "document/recovery.h"
#include "window/form_storage.h"
#include "window_fixture.h"

#include <QDir>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUndoStack>

using namespace vs;
using namespace vs::test;

namespace {

// A warehouse of 120 empty slots but for a Kris (class 0, item 0) in slot 0.
QByteArray warehouseWithKris(quint8 serialByte)
{
    QByteArray bytes(120 * 10, char(0xFF));
    const QByteArray kris = QByteArray::fromHex("0000140000000" + QByteArray::number(serialByte % 10) + "000000");
    bytes.replace(0, 10, kris);
    return bytes;
}

// Runs statements on the file through a connection of the test's own.
class Sqlite {
public:
    // A new file holding an empty table of warehouses.
    explicit Sqlite(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test");
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        exec("CREATE TABLE warehouse (AccountID TEXT PRIMARY KEY, Items BLOB)");
    }
    ~Sqlite() { QSqlDatabase::removeDatabase("test"); }
    void exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery query(QSqlDatabase::database("test"));
        query.prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    }
    QByteArray items(const QString& account)
    {
        QSqlQuery query(QSqlDatabase::database("test"));
        query.prepare("SELECT Items FROM warehouse WHERE AccountID = ?");
        query.addBindValue(account);
        if (!query.exec() || !query.next())
            qFatal("no row for %s", qPrintable(account));
        return query.value(0).toByteArray();
    }
};

formStorage* storageWindow(Window& w)
{
    const QList<formStorage*> open = w.form().findChildren<formStorage*>();
    return open.isEmpty() ? nullptr : open.back();
}

}  // namespace

class DatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vaultsmith", "Vaultsmith").clear();
        QDir(formTolvane::recoveryFolder()).removeRecursively();  // no run's recoveries but this test's
    }

    void aWarehouseFromTheDatabaseIsSavedBackOnlyWhileItsRowIsUnchanged()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.db");
        Sqlite sql(file);
        sql.exec("INSERT INTO warehouse VALUES (?, ?)", {"alice", warehouseWithKris(1)});
        sql.exec("INSERT INTO warehouse VALUES (?, ?)", {"bob", warehouseWithKris(2)});
        const QByteArray bobBefore = sql.items("bob");

        DataFolder data;
        Window w(data);
        DatabaseStorageRequest request;
        request.url = "sqlite:" + file;
        request.owner = "alice";
        w.dialogs.nextDatabaseStorage = request;
        w.trigger("mnuOpenStorageDb");
        formStorage* storage = storageWindow(w);
        QVERIFY2(storage, qPrintable(w.status()));
        QCOMPARE(w.dialogs.passwordQuestions, 0);  // an SQLite file takes none
        QVERIFY(storage->windowTitle().contains("account alice"));
        QVERIFY(storage->windowTitle().contains(file));

        // An edit, saved: the row holds the window's bytes, the other row is untouched.
        storage->chooseSlot(0);
        storage->deleteSelected();
        QVERIFY(storage->isModified());
        QVERIFY(storage->save());
        QVERIFY(!storage->isModified());
        QCOMPARE(sql.items("alice"), QByteArray(120 * 10, char(0xFF)));
        QCOMPARE(sql.items("bob"), bobBefore);

        // The server changes the row; the next save writes nothing and keeps the edits.
        const QByteArray server = warehouseWithKris(7);
        sql.exec("UPDATE warehouse SET Items = ? WHERE AccountID = ?", {server, "alice"});
        storage->history()->undo();
        QVERIFY(storage->isModified());
        w.dialogs.conflictAnswer = ConflictAnswer::Reload;
        QVERIFY(!storage->save());
        QCOMPARE(sql.items("alice"), server);
        QVERIFY(storage->isModified());
        QCOMPARE(w.dialogs.conflicts.size(), 1);
        QVERIFY(w.dialogs.conflicts[0].startsWith("The row of account alice changed in the database"));
        // Reload: the database's version in a second window bound to the row.
        formStorage* reloaded = storageWindow(w);
        QVERIFY(reloaded && reloaded != storage);
        QCOMPARE(QByteArray::fromStdString(writeStorage(reloaded->storage())), server);
        QVERIFY(!reloaded->isModified());

        // The connection and its schema are remembered for next time, never a password.
        w.dialogs.nextDatabaseStorage.reset();
        w.trigger("mnuOpenStorageDb");
        QCOMPARE(w.dialogs.proposedDatabaseStorages.back().url, request.url);
        QCOMPARE(w.status(), QString("Open Storage from Database> Cancelled."));
    }

    void aRecoveredWindowIsBoundToItsRowAgain()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.db");
        Sqlite sql(file);
        sql.exec("INSERT INTO warehouse VALUES (?, ?)", {"alice", warehouseWithKris(1)});
        DataFolder data;
        QString kept;
        {
            Window w(data);
            DatabaseStorageRequest request;
            request.url = "sqlite:" + file;
            request.owner = "alice";
            w.dialogs.nextDatabaseStorage = request;
            w.trigger("mnuOpenStorageDb");
            formStorage* storage = storageWindow(w);
            QVERIFY(storage);
            storage->chooseSlot(0);
            storage->deleteSelected();
            w.form().writeRecoveries();
            const QStringList files = QDir(formTolvane::recoveryFolder()).entryList({"storage-*.recovery"});
            QCOMPARE(files.size(), 1);
            kept = formTolvane::recoveryFolder() + "/" + files[0];
            // As a run that was killed leaves it: its process is gone.
            std::optional<Recovery> recovery = decodeRecovery(readFile(kept).toStdString());
            QVERIFY(recovery);
            QCOMPARE(QString::fromStdString(recovery->databaseOwner), QString("alice"));
            recovery->pid = 0x7FFFFFF0;
            QFile rewrite(kept);
            QVERIFY(rewrite.open(QIODevice::WriteOnly));
            rewrite.write(QByteArray::fromStdString(encodeRecovery(*recovery)));
        }
        Window again(data);
        again.dialogs.recoveryAnswer = RecoveryAnswer::Restore;
        again.form().offerRecoveries();
        QVERIFY2(again.dialogs.recoveryOffers.size() == 1 && again.dialogs.recoveryOffers[0].contains("alice"),
                 qPrintable(again.dialogs.recoveryOffers.join(" | ")));
        formStorage* restored = storageWindow(again);
        QVERIFY(restored && restored->databaseBinding());
        QVERIFY(restored->isModified());
        QVERIFY(restored->save());  // into the row, as the window that was killed would have
        QCOMPARE(sql.items("alice"), QByteArray(120 * 10, char(0xFF)));
    }

    void whatCannotBeOpenedIsSaidInOneLine()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.db");
        Sqlite sql(file);
        sql.exec("INSERT INTO warehouse VALUES (?, ?)", {"short", QByteArray(10, 'x')});
        DataFolder data;
        Window w(data);
        struct Case {
            QString url, owner, starts;
        };
        const QList<Case> cases = {
            {"sqlite:" + dir.filePath("none.db"), "alice", "Open Storage from Database> "},
            {"nonsense", "alice", "Open Storage from Database> "},
            {"sqlite:" + file, "nobody", "Open Storage from Database> No row of warehouse belongs to account nobody."},
            {"sqlite:" + file, "short", "Open Storage from Database> The row of account short holds no warehouse"},
            {"sqlite:" + file, "x' OR '1'='1", "Open Storage from Database> No row of warehouse belongs to"},
        };
        for (const Case& c : cases) {
            DatabaseStorageRequest request;
            request.url = c.url;
            request.owner = c.owner;
            w.dialogs.nextDatabaseStorage = request;
            w.trigger("mnuOpenStorageDb");
            QVERIFY2(w.status().startsWith(c.starts), qPrintable(w.status()));
            QVERIFY2(!w.status().contains('\n'), qPrintable(w.status()));
            QCOMPARE(w.statusColor(), QColor(255, 255, 0));
            QVERIFY(w.form().findChildren<formStorage*>().isEmpty());
        }
        // A server's password is asked for; cancelling it opens nothing.
        DatabaseStorageRequest request;
        request.url = "postgresql://vs@127.0.0.1:1/none";
        request.owner = "alice";
        w.dialogs.nextDatabaseStorage = request;
        qunsetenv("VAULTSMITH_DB_PASSWORD");
        w.trigger("mnuOpenStorageDb");
        QCOMPARE(w.dialogs.passwordQuestions, 1);
        QCOMPARE(w.status(), QString("Open Storage from Database> Cancelled; no password was given."));

        // A window whose server cannot be reached at Save keeps its edits, and the
        // password typed for it is asked for again at the next Save.
        sql.exec("INSERT INTO warehouse VALUES (?, ?)", {"alice", warehouseWithKris(1)});
        request.url = "sqlite:" + file;
        w.dialogs.nextDatabaseStorage = request;
        w.trigger("mnuOpenStorageDb");
        formStorage* storage = storageWindow(w);
        QVERIFY(storage);
        storage->bindToDatabase({"postgresql://vs@127.0.0.1:1/none", "", defaultStorageTable(StorageKind::Warehouse),
                                 "alice", storage->databaseBinding()->original});
        storage->chooseSlot(0);
        storage->deleteSelected();
        w.dialogs.nextPassword = QString("typed");
        QVERIFY(!storage->save());
        QVERIFY(!storage->save());
        QCOMPARE(w.dialogs.passwordQuestions, 3);
        QVERIFY(storage->isModified());
        QCOMPARE(sql.items("alice"), warehouseWithKris(1));
    }
};

QTEST_MAIN(DatabaseTest)
#include "database_test.moc"
