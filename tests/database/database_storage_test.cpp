#include "database/database_storage.h"
#include "database/test_databases.h"

#include "catalog/catalog.h"
#include "catalog/catalog_loader.h"
#include "codes/shop_code.h"
#include "codes/vault_code.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace vs {
namespace {

using test::TestDatabase;

Catalog smallCatalog()
{
    Catalog catalog;
    loadItemCatalog("0\n"
                    "0 1 2 0 0 0 \"Kris\" 0 0 0 20\n"
                    "end\n",
                    catalog, "items");
    return catalog;
}

StorageSlot kris(int32_t serial)
{
    clsShopCode shop;
    shop.classIndex = 0;
    shop.typeIndex = 0;
    shop.dur = 20;
    clsVaultCode vault;
    vault.setId(serial);
    return *slotFromHex(vault.getCode(shop));
}

// A storage of `items` krises (1 x 2 each, on even rows) with the serials given.
Storage storageWith(StorageKind kind, const std::vector<int32_t>& serials)
{
    Storage storage;
    storage.kind = kind;
    storage.contents.assign(static_cast<size_t>(storageSlotCount(kind)), kEmptySlot);
    for (size_t i = 0; i < serials.size(); ++i)
        storage.contents[static_cast<size_t>(*cellSlot(kind, static_cast<int>(i % 8), static_cast<int>(i / 8) * 2))] =
            kris(serials[i]);
    return storage;
}

std::string bytesOf(const Storage& storage)
{
    Storage raw = storage;
    raw.form = StorageForm::Raw;
    return writeStorage(raw);
}

QString quoted(const QSqlDatabase& db, const std::string& name)
{
    return db.driver()->escapeIdentifier(QString::fromStdString(name), QSqlDriver::TableName);
}

// The two tables, empty, with the server's column names.
void resetTables(const TestDatabase& target)
{
    DatabaseConnection connection(target.url, target.password);
    QSqlDatabase db = connection.database();
    for (StorageKind kind : {StorageKind::Warehouse, StorageKind::Inventory}) {
        const StorageTable t = defaultStorageTable(kind);
        QSqlQuery query(db);
        query.exec("DROP TABLE IF EXISTS " + quoted(db, t.table));
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE %1 (%2 %3 PRIMARY KEY, %4 %5)")
                                   .arg(quoted(db, t.table), quoted(db, t.keyColumn),
                                        QString::fromStdString(target.keyType), quoted(db, t.column),
                                        QString::fromStdString(target.blobType))))
            << target.label;
    }
}

void insertRows(const TestDatabase& target, StorageKind kind, const std::map<std::string, std::string>& rows)
{
    DatabaseConnection connection(target.url, target.password);
    QSqlDatabase db = connection.database();
    const StorageTable t = defaultStorageTable(kind);
    ASSERT_TRUE(db.transaction());
    QSqlQuery query(db);
    ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
                                  .arg(quoted(db, t.table), quoted(db, t.keyColumn), quoted(db, t.column))));
    for (const auto& [owner, bytes] : rows) {
        // As the program binds a name, so that the key holds the name alone.
        if (connection.namesAsBytes())
            query.addBindValue(QByteArray::fromStdString(owner));
        else
            query.addBindValue(QString::fromStdString(owner));
        query.addBindValue(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        ASSERT_TRUE(query.exec()) << owner;
    }
    ASSERT_TRUE(db.commit());
}

// Every row of the kind's table, as the database holds it now.
std::map<std::string, std::string> allRows(const TestDatabase& target, StorageKind kind)
{
    DatabaseConnection connection(target.url, target.password);
    QSqlDatabase db = connection.database();
    const StorageTable t = defaultStorageTable(kind);
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT %1, %2 FROM %3").arg(quoted(db, t.keyColumn), quoted(db, t.column),
                                                           quoted(db, t.table)));
    std::map<std::string, std::string> rows;
    while (query.next()) {
        const QByteArray bytes = query.value(1).toByteArray();
        rows[query.value(0).toString().toStdString()] = std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return rows;
}

class DatabaseStorage : public ::testing::TestWithParam<TestDatabase> {
protected:
    void SetUp() override
    {
        resetTables(GetParam());
        warehouses = {{"alice", bytesOf(storageWith(StorageKind::Warehouse, {1, 2, 3}))},
                      {"bob", bytesOf(storageWith(StorageKind::Warehouse, {4}))},
                      {"carol", bytesOf(storageWith(StorageKind::Warehouse, {}))}};
        inventories = {{"Hero", bytesOf(storageWith(StorageKind::Inventory, {5, 6}))}};
        insertRows(GetParam(), StorageKind::Warehouse, warehouses);
        insertRows(GetParam(), StorageKind::Inventory, inventories);
    }
    void expectRows(const std::map<std::string, std::string>& w, const std::map<std::string, std::string>& i)
    {
        EXPECT_EQ(allRows(GetParam(), StorageKind::Warehouse), w);
        EXPECT_EQ(allRows(GetParam(), StorageKind::Inventory), i);
    }
    std::map<std::string, std::string> warehouses, inventories;
    const StorageTable wtable = defaultStorageTable(StorageKind::Warehouse);
    const StorageTable itable = defaultStorageTable(StorageKind::Inventory);
};

TEST_P(DatabaseStorage, PullEditPushRoundTripsByteForByte)
{
    DatabaseConnection connection(GetParam().url, GetParam().password);
    const std::optional<std::string> pulled = pullStorageBytes(connection, wtable, "alice");
    ASSERT_TRUE(pulled);
    EXPECT_EQ(*pulled, warehouses["alice"]);
    Storage edited = readStorage(*pulled, StorageKind::Warehouse);
    edited.contents[7] = kris(99);
    removeStorageItem(edited, 0);
    const std::string after = bytesOf(edited);
    EXPECT_EQ(pushStorageBytes(connection, wtable, "alice", after, pulled), PushOutcome::Written);
    EXPECT_EQ(pullStorageBytes(connection, wtable, "alice"), after);
    // An inventory the same way; pushing what is already there is no change.
    const std::optional<std::string> hero = pullStorageBytes(connection, itable, "Hero");
    ASSERT_TRUE(hero);
    EXPECT_EQ(pushStorageBytes(connection, itable, "Hero", *hero, hero), PushOutcome::Written);
    warehouses["alice"] = after;
    expectRows(warehouses, inventories);
}

TEST_P(DatabaseStorage, APushAfterAConcurrentChangeIsRefusedAndForceWrites)
{
    DatabaseConnection mine(GetParam().url, GetParam().password);
    const std::string original = *pullStorageBytes(mine, wtable, "bob");
    const std::string theirs = bytesOf(storageWith(StorageKind::Warehouse, {4, 40}));
    {
        DatabaseConnection other(GetParam().url, GetParam().password);
        EXPECT_EQ(pushStorageBytes(other, wtable, "bob", theirs, original), PushOutcome::Written);
    }
    const std::string edit = bytesOf(storageWith(StorageKind::Warehouse, {4, 41}));
    EXPECT_EQ(pushStorageBytes(mine, wtable, "bob", edit, original), PushOutcome::Changed);
    warehouses["bob"] = theirs;
    expectRows(warehouses, inventories);
    // Even writing back what it held then is refused: the row moved on.
    EXPECT_EQ(pushStorageBytes(mine, wtable, "bob", original, original), PushOutcome::Changed);
    expectRows(warehouses, inventories);

    EXPECT_EQ(pushStorageBytes(mine, wtable, "bob", edit, std::nullopt), PushOutcome::Written);
    warehouses["bob"] = edit;
    expectRows(warehouses, inventories);
}

TEST_P(DatabaseStorage, HostileNamesAreBoundAndTouchNoOtherRow)
{
    const std::vector<std::string> hostile = {
        "x' OR '1'='1", "a'; DELETE FROM warehouse; --", "-- ", "elevenchars", "\xC3\x85lesund\xE5\x90\x8D",
        "alice' --",    "%",                             "_",   "alice\\",     "\"bob\"",
        "' OR 1=1 --",  "alice%"};
    DatabaseConnection connection(GetParam().url, GetParam().password);
    const std::string bytes = bytesOf(storageWith(StorageKind::Warehouse, {77}));
    for (const std::string& name : hostile) {
        SCOPED_TRACE(name);
        EXPECT_EQ(pullStorageBytes(connection, wtable, name), std::nullopt);
        EXPECT_THROW(pushStorageBytes(connection, wtable, name, bytes, std::nullopt), DatabaseError);
        EXPECT_THROW(pushStorageBytes(connection, wtable, name, bytes, warehouses["alice"]), DatabaseError);
        expectRows(warehouses, inventories);
    }
    // A row whose key is such a name is found and written as any other.
    const std::string odd = "o'; --\xC3\x85";
    insertRows(GetParam(), StorageKind::Warehouse, {{odd, warehouses["carol"]}});
    warehouses[odd] = warehouses["carol"];
    EXPECT_EQ(pullStorageBytes(connection, wtable, odd), warehouses[odd]);
    EXPECT_EQ(pushStorageBytes(connection, wtable, odd, bytes, warehouses[odd]), PushOutcome::Written);
    warehouses[odd] = bytes;
    expectRows(warehouses, inventories);
}

TEST_P(DatabaseStorage, OnlyTheRowWhoseKeyIsExactlyTheNameIsReadOrWritten)
{
    // Rows another program wrote with plain statements, no bound values (the
    // server's own tools do): found and written through this driver too.
    {
        DatabaseConnection other(GetParam().url, GetParam().password);
        QSqlDatabase db = other.database();
        QSqlQuery query(db);
        for (const char* key : {"dave", "Erin"})
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES ('%3')")
                                       .arg(quoted(db, wtable.table), quoted(db, wtable.keyColumn), key)))
                << key;
    }
    DatabaseConnection connection(GetParam().url, GetParam().password);
    const std::string bytes = bytesOf(storageWith(StorageKind::Warehouse, {88}));
    EXPECT_EQ(pushStorageBytes(connection, wtable, "dave", bytes, std::nullopt), PushOutcome::Written);
    EXPECT_EQ(pullStorageBytes(connection, wtable, "dave"), bytes);
    warehouses["dave"] = bytes;
    // A name the database would match to another key (letter case, trailing
    // blanks, in a server's case-insensitive collation) names no row.
    for (const std::string near : {"ALICE", "alice ", "erin", "Erin "}) {
        SCOPED_TRACE(near);
        EXPECT_EQ(pullStorageBytes(connection, wtable, near), std::nullopt);
        EXPECT_THROW(pushStorageBytes(connection, wtable, near, bytes, std::nullopt), DatabaseError);
    }
    // Bytes that are no UTF-8 text are no name.
    EXPECT_THROW(pullStorageBytes(connection, wtable, "alice\xFF"), DatabaseError);
    EXPECT_THROW(pushStorageBytes(connection, wtable, "alice\xFE", bytes, std::nullopt), DatabaseError);
    std::map<std::string, std::string> expected = warehouses;
    expected["Erin"] = {};  // its column still NULL, read as no bytes
    EXPECT_EQ(allRows(GetParam(), StorageKind::Warehouse), expected);
}

TEST_P(DatabaseStorage, TableAndColumnNamesMustBeIdentifiers)
{
    DatabaseConnection connection(GetParam().url, GetParam().password);
    const std::string bytes = bytesOf(storageWith(StorageKind::Warehouse, {8}));
    for (StorageTable bad : {StorageTable{"warehouse; DROP TABLE warehouse", "Items", "AccountID"},
                             StorageTable{"warehouse", "Items = Items --", "AccountID"},
                             StorageTable{"warehouse", "Items", "AccountID' OR '1'='1"},
                             StorageTable{"", "Items", "AccountID"}}) {
        EXPECT_THROW(pullStorageBytes(connection, bad, "alice"), DatabaseError) << bad.table << bad.column;
        EXPECT_THROW(pushStorageBytes(connection, bad, "alice", bytes, std::nullopt), DatabaseError);
    }
    // A table that is not there is a clear refusal, not a crash.
    try {
        pullStorageBytes(connection, StorageTable{"nowhere", "Items", "AccountID"}, "alice");
        ADD_FAILURE() << "read a table that does not exist";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot read table nowhere"), std::string::npos) << e.what();
    }
    expectRows(warehouses, inventories);
}

// Findings as (owner, slot, code), sorted.
using Found = std::set<std::tuple<std::string, int, std::string>>;

Found runCheck(const TestDatabase& target, const Catalog& catalog, DatabaseCheckTotals* totals = nullptr,
               std::vector<StorageFinding>* all = nullptr)
{
    DatabaseConnection connection(target.url, target.password, true);
    Found found;
    const DatabaseCheckTotals t = checkDatabaseStorages(
        connection,
        {{StorageKind::Warehouse, defaultStorageTable(StorageKind::Warehouse)},
         {StorageKind::Inventory, defaultStorageTable(StorageKind::Inventory)}},
        catalog, [&](const StorageFinding& f) {
            found.emplace(f.owner, f.finding.line, f.finding.code);
            if (all)
                all->push_back(f);
        });
    if (totals)
        *totals = t;
    return found;
}

TEST_P(DatabaseStorage, CheckOverEmptyTablesFindsNothing)
{
    resetTables(GetParam());
    DatabaseCheckTotals totals;
    EXPECT_TRUE(runCheck(GetParam(), smallCatalog(), &totals).empty());
    EXPECT_EQ(totals.warehouses, 0u);
    EXPECT_EQ(totals.inventories, 0u);
}

TEST_P(DatabaseStorage, CheckFindsExactlyThePlantedDuplicatesAcrossAllRows)
{
    resetTables(GetParam());
    // Many storages, every serial different, then a few planted twice or three times.
    std::mt19937 random(17);
    int32_t next = 1000;
    std::map<std::string, std::vector<int32_t>> w, i;
    for (int a = 0; a < 150; ++a) {
        std::vector<int32_t> serials(1 + random() % 19);
        for (int32_t& s : serials)
            s = next++;
        w["acc" + std::to_string(a)] = serials;
    }
    for (int c = 0; c < 50; ++c)
        i["hero" + std::to_string(c)] = {next++, next++};
    w["acc3"].at(0) = w["acc140"].at(0) = 555555;  // across accounts
    w["acc9"] = {777, 778, 777};                    // twice in one warehouse
    i["hero7"][1] = w["acc20"].at(0) = w["acc21"].at(0) = 424242;  // three holders, both kinds
    std::map<std::string, std::string> wrows, irows;
    for (const auto& [owner, serials] : w)
        wrows[owner] = bytesOf(storageWith(StorageKind::Warehouse, serials));
    for (const auto& [owner, serials] : i)
        irows[owner] = bytesOf(storageWith(StorageKind::Inventory, serials));
    wrows["broken"] = std::string(1199, '\xFF');
    insertRows(GetParam(), StorageKind::Warehouse, wrows);
    insertRows(GetParam(), StorageKind::Inventory, irows);

    DatabaseCheckTotals totals;
    std::vector<StorageFinding> all;
    const Found found = runCheck(GetParam(), smallCatalog(), &totals, &all);
    const int second = *cellSlot(StorageKind::Inventory, 1, 0);
    // Where each duplicate is reported depends on the order the rows come in;
    // the owners and slots of the holders do not.
    std::set<std::pair<std::string, int>> holders, reported;
    for (const auto& [owner, slot, code] : found)
        if (code == "duplicate-serial")
            reported.emplace(owner, slot);
    holders = {{"acc3", 0}, {"acc140", 0}, {"acc9", 0}, {"acc9", 2}, {"hero7", second}, {"acc20", 0}, {"acc21", 0}};
    EXPECT_EQ(reported.size(), 4u);  // each serial at every holder but its first
    for (const auto& r : reported)
        EXPECT_TRUE(holders.count(r)) << r.first << ":" << r.second;
    EXPECT_TRUE(found.count({"broken", 0, "unreadable"}));
    EXPECT_EQ(found.size(), 5u);
    EXPECT_EQ(totals.warehouses, 151u);
    EXPECT_EQ(totals.inventories, 50u);
    EXPECT_EQ(totals.errors, 5u);
    // The three-holder serial names the two others wherever it is reported.
    for (const StorageFinding& f : all)
        if (f.finding.message.find("424242") != std::string::npos) {
            int named = 0;
            for (const char* who : {"character hero7 slot 13", "account acc20 slot 0", "account acc21 slot 0"})
                named += f.finding.message.find(who) != std::string::npos;
            EXPECT_EQ(named, 2) << f.finding.message;
        }
}

INSTANTIATE_TEST_SUITE_P(Databases, DatabaseStorage, ::testing::ValuesIn(test::testDatabases()),
                         [](const auto& info) { return info.param.label; });

TEST(DatabaseConnection, AMissingSqliteFileIsRefusedAndNeverMade)
{
    const std::string path = ::testing::TempDir() + "/no-such-vaultsmith.db";
    try {
        DatabaseConnection connection(parseDatabaseUrl("sqlite:" + path), "");
        ADD_FAILURE() << "opened a file that does not exist";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "SQLite file " + path + ": no such file");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vs
