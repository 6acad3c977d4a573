#include "database/database_storage.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cstdio>
#include <filesystem>

namespace vs {

namespace {

// Qt SQL loads its drivers as plug-ins, which wants an application object;
// a program without one (the command-line tool, a test) gets one here.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "vaultsmith";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    (void)application;
    // Such a program speaks through its own messages: the drivers' warnings
    // (a failed statement's text, say) would only repeat them less clearly.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

// The first line of what the driver says, without the layers below it.
std::string oneLine(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("the driver gave no reason");
    text = text.section(QLatin1Char('\n'), 0, 0).simplified();
    if (text.size() > 300)
        text = text.left(300) + QStringLiteral("...");
    return text.toStdString();
}

QString driverKey(DatabaseDriver driver)
{
    switch (driver) {
    case DatabaseDriver::Odbc: return QStringLiteral("QODBC");
    case DatabaseDriver::MySql: return QStringLiteral("QMYSQL");
    case DatabaseDriver::PostgreSql: return QStringLiteral("QPSQL");
    case DatabaseDriver::Sqlite: return QStringLiteral("QSQLITE");
    }
    return {};
}

std::string_view driverPackage(DatabaseDriver driver)
{
    switch (driver) {
    case DatabaseDriver::Odbc: return "libqt6sql6-odbc";
    case DatabaseDriver::MySql: return "libqt6sql6-mysql";
    case DatabaseDriver::PostgreSql: return "libqt6sql6-psql";
    case DatabaseDriver::Sqlite: return "libqt6sql6-sqlite";
    }
    return {};
}

// Where the connection goes, for messages; an ODBC connection string may
// hold a password, so it is never repeated.
std::string placeText(const DatabaseUrl& url)
{
    switch (url.driver) {
    case DatabaseDriver::Odbc:
        return url.database.find('=') == std::string::npos ? "ODBC data source " + url.database
                                                           : "the ODBC connection string's database";
    case DatabaseDriver::Sqlite: return "SQLite file " + url.database;
    default:
        return std::string(databaseDriverName(url.driver)) + " at " + url.user + "@" + url.host + ":" +
               std::to_string(url.port) + "/" + url.database;
    }
}

void checkNames(const StorageTable& where)
{
    for (const auto& [what, name] : {std::pair{"table", &where.table}, std::pair{"key column", &where.keyColumn},
                                     std::pair{"items column", &where.column}})
        if (!isSqlIdentifier(*name))
            throw DatabaseError(std::string("the ") + what + " name '" + *name +
                                "' is not a letter or underscore followed by letters, digits or underscores (at "
                                "most 128)");
}

struct Names {
    QString table, key, column;
};

// The checked names as the driver quotes them, so that a name the database
// reserves (Character is one in MySQL) still names the table.
Names quotedNames(const QSqlDatabase& db, const StorageTable& where)
{
    checkNames(where);
    const QSqlDriver* driver = db.driver();
    return {driver->escapeIdentifier(QString::fromStdString(where.table), QSqlDriver::TableName),
            driver->escapeIdentifier(QString::fromStdString(where.keyColumn), QSqlDriver::FieldName),
            driver->escapeIdentifier(QString::fromStdString(where.column), QSqlDriver::FieldName)};
}

std::string ownerKeyText(const StorageTable& where, const std::string& owner)
{
    return where.keyColumn + " = '" + owner + "'";
}

QByteArray qbytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A name is UTF-8 text: other bytes would reach the database as U+FFFD and
// name another row.
QString ownerText(const std::string& owner)
{
    const QString text = QString::fromUtf8(owner.data(), static_cast<qsizetype>(owner.size()));
    const QByteArray back = text.toUtf8();
    if (std::string_view(back.constData(), static_cast<size_t>(back.size())) != owner)
        throw DatabaseError("the name is no UTF-8 text");
    return text;
}

// The rows the database matches to the name (a case-insensitive collation
// matches more than the name itself): how many, and the bytes of the one
// whose key is exactly the name, if there is one.
struct MatchedRows {
    int count = 0;
    int exact = 0;
    std::optional<std::string> bytes;
};

// The name as the statement's value (see DatabaseConnection::namesAsBytes).
QVariant nameValue(const QString& name, bool asBytes)
{
    return asBytes ? QVariant(name.toUtf8()) : QVariant(name);
}

MatchedRows matchRows(const QSqlDatabase& db, const StorageTable& where, const std::string& owner, bool asBytes)
{
    const QString name = ownerText(owner);
    const Names names = quotedNames(db, where);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                           .arg(names.key, names.column, names.table, names.key)))
        throw DatabaseError("cannot read table " + where.table + ": " + oneLine(query.lastError()));
    query.addBindValue(nameValue(name, asBytes));
    if (!query.exec())
        throw DatabaseError("cannot read table " + where.table + ": " + oneLine(query.lastError()));
    MatchedRows rows;
    while (query.next()) {
        ++rows.count;
        if (query.value(0).toString() != name)
            continue;
        ++rows.exact;
        const QByteArray bytes = query.value(1).toByteArray();
        rows.bytes = std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return rows;
}

std::optional<std::string> selectRow(const QSqlDatabase& db, const StorageTable& where, const std::string& owner,
                                     bool asBytes)
{
    const MatchedRows rows = matchRows(db, where, owner, asBytes);
    if (rows.exact > 1)
        throw DatabaseError("more than one row of table " + where.table + " has " + ownerKeyText(where, owner));
    return rows.exact == 1 ? rows.bytes : std::nullopt;
}

}  // namespace

DatabaseConnection::DatabaseConnection(const DatabaseUrl& url, const std::string& password, bool readOnly)
    : url_(url)
{
    ensureApplication();
    static std::atomic<unsigned> opened{0};
    name_ = "vaultsmith-database-" + std::to_string(++opened);
    const QString driver = driverKey(url.driver);
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw DatabaseError("Qt SQL's " + std::string(databaseDriverName(url.driver)) +
                            " driver is not installed (Debian package " + std::string(driverPackage(url.driver)) +
                            ")");
    if (url.driver == DatabaseDriver::Sqlite) {
        std::error_code ec;
        const auto type = std::filesystem::status(url.database, ec).type();
        if (type == std::filesystem::file_type::not_found)
            throw DatabaseError("SQLite file " + url.database + ": no such file");
        if (type != std::filesystem::file_type::regular)
            throw DatabaseError("SQLite file " + url.database + ": not a file");
    }
    std::string failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, QString::fromStdString(name_));
        db.setDatabaseName(QString::fromStdString(url.database));
        QStringList options;
        switch (url.driver) {
        case DatabaseDriver::MySql:
            db.setHostName(QString::fromStdString(url.host));
            db.setPort(url.port);
            db.setUserName(QString::fromStdString(url.user));
            options << QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10");
            break;
        case DatabaseDriver::PostgreSql:
            db.setHostName(QString::fromStdString(url.host));
            db.setPort(url.port);
            db.setUserName(QString::fromStdString(url.user));
            options << QStringLiteral("connect_timeout=10");
            break;
        case DatabaseDriver::Odbc:
            if (readOnly)
                options << QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
            break;
        case DatabaseDriver::Sqlite:
            if (readOnly)
                options << QStringLiteral("QSQLITE_OPEN_READONLY");
            break;
        }
        db.setConnectOptions(options.join(QLatin1Char(';')));
        if (url.driver == DatabaseDriver::Odbc) {
            // Qt would append ";PWD=" and the password as it is, which a ';'
            // or '}' in it would break: the password goes in braces instead.
            QString connection = QString::fromStdString(url.database);
            if (!connection.contains(QLatin1Char('=')))
                connection = QStringLiteral("DSN=") + connection;
            if (!password.empty())
                connection += QStringLiteral(";PWD={") +
                              QString::fromStdString(password).replace(QStringLiteral("}"), QStringLiteral("}}")) +
                              QStringLiteral("}");
            db.setDatabaseName(connection);
        } else if (takesPassword(url)) {
            db.setPassword(QString::fromStdString(password));
        }
        if (!db.open())
            failure = "cannot connect to " + placeText(url) + ": " + oneLine(db.lastError());
    }
    if (!failure.empty()) {
        QSqlDatabase::removeDatabase(QString::fromStdString(name_));
        throw DatabaseError(failure);
    }
    if (url.driver == DatabaseDriver::Odbc) {
        // MySQL and MariaDB answer @@version with a version that names no
        // Microsoft; PostgreSQL refuses the question (outside any transaction,
        // so nothing is spoilt). A binary value compares with their text
        // columns byte for byte.
        QSqlQuery probe(database());
        if (probe.exec(QStringLiteral("SELECT @@version")) && probe.next())
            namesAsBytes_ = !probe.value(0).toString().contains(QStringLiteral("Microsoft"));
    }
}

DatabaseConnection::~DatabaseConnection()
{
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QString::fromStdString(name_));
}

QSqlDatabase DatabaseConnection::database() const
{
    return QSqlDatabase::database(QString::fromStdString(name_), false);
}

std::string storageOwnerText(StorageKind kind, const std::string& owner)
{
    return (kind == StorageKind::Warehouse ? "account " : "character ") + owner;
}

std::optional<std::string> pullStorageBytes(DatabaseConnection& connection, const StorageTable& where,
                                            const std::string& owner)
{
    return selectRow(connection.database(), where, owner, connection.namesAsBytes());
}

PushOutcome pushStorageBytes(DatabaseConnection& connection, const StorageTable& where, const std::string& owner,
                             const std::string& bytes, const std::optional<std::string>& expected)
{
    QSqlDatabase db = connection.database();
    const Names names = quotedNames(db, where);
    if (!db.transaction())
        throw DatabaseError("cannot begin a transaction: " + oneLine(db.lastError()));
    // Whatever goes wrong from here leaves the row as it was.
    const auto fail = [&](const std::string& why) {
        db.rollback();
        throw DatabaseError(why);
    };
    // Before anything is written: the UPDATE must meet exactly one row, the
    // one whose key is the name (a table without transactions could not take
    // back a write to several).
    MatchedRows matched;
    try {
        matched = matchRows(db, where, owner, connection.namesAsBytes());
    } catch (const DatabaseError& e) {
        fail(e.what());
    }
    if (matched.count > 1)
        fail(std::to_string(matched.count) + " rows of table " + where.table + " match " +
             ownerKeyText(where, owner) + "; nothing written");
    if (matched.exact != 1)
        fail("no row of table " + where.table + " has " + ownerKeyText(where, owner) + "; nothing written");
    QSqlQuery update(db);
    QString statement = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(names.table, names.column, names.key);
    if (expected)
        statement += QStringLiteral(" AND %1 = ?").arg(names.column);
    if (!update.prepare(statement))
        fail("cannot write table " + where.table + ": " + oneLine(update.lastError()));
    update.addBindValue(qbytes(bytes));
    update.addBindValue(nameValue(ownerText(owner), connection.namesAsBytes()));
    if (expected)
        update.addBindValue(qbytes(*expected));
    if (!update.exec())
        fail("cannot write table " + where.table + ": " + oneLine(update.lastError()));
    const int rows = update.numRowsAffected();
    update.finish();
    if (rows > 1)
        fail(std::to_string(rows) + " rows of table " + where.table + " have " + ownerKeyText(where, owner) +
             "; nothing written");
    if (rows != 1) {
        // None matched, or the driver cannot tell: what the row holds now
        // decides (a server counting only changed rows reports none when
        // the bytes were already there).
        std::optional<std::string> now;
        try {
            now = selectRow(db, where, owner, connection.namesAsBytes());
        } catch (const DatabaseError& e) {
            fail(e.what());
        }
        if (!now)
            fail("no row of table " + where.table + " has " + ownerKeyText(where, owner) + "; nothing written");
        const bool held = *now == bytes && (rows < 0 || !expected || *expected == bytes);
        if (!held) {
            db.rollback();
            return PushOutcome::Changed;
        }
    }
    if (!db.commit()) {
        const std::string why = oneLine(db.lastError());
        fail("cannot commit the write to table " + where.table + ": " + why);
    }
    return PushOutcome::Written;
}

DatabaseCheckTotals checkDatabaseStorages(DatabaseConnection& connection,
                                          const std::vector<std::pair<StorageKind, StorageTable>>& tables,
                                          const Catalog& catalog,
                                          const std::function<void(const StorageFinding&)>& report)
{
    QSqlDatabase db = connection.database();
    std::vector<Names> names;
    for (const auto& table : tables)
        names.push_back(quotedNames(db, table.second));

    // One snapshot for every table, read only: MySQL takes the mode for the
    // next transaction, PostgreSQL inside it; ODBC and SQLite connections
    // for a check are opened read-only.
    const DatabaseDriver driver = connection.url().driver;
    if (driver == DatabaseDriver::MySql)
        QSqlQuery(QStringLiteral("SET TRANSACTION READ ONLY"), db);
    if (!db.transaction())
        throw DatabaseError("cannot begin a transaction: " + oneLine(db.lastError()));
    const auto fail = [&](const std::string& why) {
        db.rollback();
        throw DatabaseError(why);
    };
    if (driver == DatabaseDriver::PostgreSql) {
        QSqlQuery readOnly(db);
        if (!readOnly.exec(QStringLiteral("SET TRANSACTION READ ONLY")))
            fail("cannot make the transaction read-only: " + oneLine(readOnly.lastError()));
    }

    DatabaseCheckTotals totals;
    const auto tell = [&](const StorageFinding& finding) {
        (finding.finding.severity == Finding::Severity::Error ? totals.errors : totals.warnings)++;
        report(finding);
    };
    StorageChecker checker(catalog);
    std::vector<std::string> owners;  // by the checker's storage number
    for (size_t t = 0; t < tables.size(); ++t) {
        const auto& [kind, where] = tables[t];
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT %1, %2 FROM %3").arg(names[t].key, names[t].column, names[t].table)))
            fail("cannot read table " + where.table + ": " + oneLine(query.lastError()));
        while (query.next()) {
            std::string owner = query.value(0).toString().toStdString();
            const QByteArray raw = query.value(1).toByteArray();
            (kind == StorageKind::Warehouse ? totals.warehouses : totals.inventories)++;
            Storage storage;
            try {
                storage = readStorage(std::string_view(raw.constData(), static_cast<size_t>(raw.size())), kind);
            } catch (const StorageError& e) {
                tell({kind, std::move(owner),
                      Finding{0, Finding::Severity::Error, "unreadable",
                              "the " + where.column + " column holds no " + std::string(storageKindName(kind)) +
                                  ": " + e.what()}});
                continue;
            }
            std::vector<Finding> found;
            try {
                found = checker.add(storage);
            } catch (const StorageError& e) {
                fail(e.what());
            }
            for (Finding& finding : found)
                tell({kind, owner, std::move(finding)});
            owners.push_back(std::move(owner));
        }
        if (query.lastError().isValid())
            fail("reading table " + where.table + " stopped: " + oneLine(query.lastError()));
    }
    db.rollback();

    const auto ownerName = [&](size_t storage) { return storageOwnerText(checker.kind(storage), owners[storage]); };
    for (const StorageChecker::SharedSerial& shared : checker.sharedSerials())
        for (size_t at = 1; at < shared.holders.size(); ++at) {
            const size_t storage = shared.holders[at].storage;
            tell({checker.kind(storage), owners[storage], checker.sharedSerialFinding(shared, at, ownerName)});
        }
    return totals;
}

}  // namespace vs
