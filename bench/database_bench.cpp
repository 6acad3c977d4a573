// db check over a server's worth of warehouses: 100,000 generated warehouses in
// an SQLite file (20 catalog items each, placed first-fit, every serial used
// once but for 4 planted twice), checked by `vaultsmith-cli db check` as one
// process; its wall time and peak resident memory, and whether it found
// exactly the planted duplicates. Prints rows only; tools/bench prints the header.
#include "bench_table.h"
#include "generated_storage.h"

#include "catalog/catalog_loader.h"
#include "storage/storage.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <set>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kWarehouses = 100000;
constexpr int kItems = 20;
constexpr int kPeriod = 20000;  // every 20,000th warehouse repeats a serial of the one before it
constexpr size_t kPlanted = kWarehouses / kPeriod - 1;  // 4

// One warehouse's items first-fit, their serials starting at `serial`.
// The first item takes `shared` as its serial when given.
vs::Storage warehouse(const vs::Catalog& catalog, const std::vector<std::pair<int, int>>& items, int n, int32_t& serial,
                      std::optional<int32_t> shared = std::nullopt)
{
    vs::Storage storage;
    storage.contents.assign(vs::kWarehouseSlots, vs::kEmptySlot);
    std::vector<bool> taken(vs::kWarehouseSlots, false);
    for (int k = 0; k < kItems; ++k) {
        const auto [cls, index] = items[static_cast<size_t>(n * 7 + k * 13) % items.size()];
        if (bench::placeFirstFit(storage, taken, catalog, cls, index, 0, k == 0 && shared ? *shared : serial))
            ++serial;
    }
    return storage;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("game.db")).toStdString();
    const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    const std::vector<std::pair<int, int>> items = bench::catalogItems(catalog);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(QString::fromStdString(file));
        db.open();
        QSqlQuery(QStringLiteral("CREATE TABLE warehouse (AccountID VARCHAR(10) PRIMARY KEY, Items BLOB)"), db);
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO warehouse VALUES (?, ?)"));
        int32_t serial = 1;
        int32_t previousFirst = 0;
        for (int n = 0; n < kWarehouses; ++n) {
            const int32_t first = serial;
            const vs::Storage storage = warehouse(catalog, items, n, serial,
                                                  n % kPeriod == 0 && n > 0 ? std::optional(previousFirst) : std::nullopt);
            previousFirst = first;
            insert.addBindValue(QStringLiteral("acc%1").arg(n));
            insert.addBindValue(QByteArray::fromStdString(vs::writeStorage(storage)));
            insert.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));

    const std::string cli = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vaultsmith-cli").string();
    const std::string out = dir.filePath(QStringLiteral("check.out")).toStdString();
    std::vector<std::string> args = {cli, "--data", VAULTSMITH_DATA_DIR, "db", "check", "sqlite:" + file, "--warehouses"};
    std::vector<char*> argvs;
    for (std::string& a : args)
        argvs.push_back(a.data());
    argvs.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argvs.data(), environ) != 0) {
        std::fprintf(stderr, "database_bench: cannot start %s\n", cli.c_str());
        return 1;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);

    size_t duplicates = 0, others = 0;
    if (FILE* f = std::fopen(out.c_str(), "r")) {
        char line[4096];
        while (std::fgets(line, sizeof line, f))
            (std::strstr(line, "[duplicate-serial]") ? duplicates : others)++;
        std::fclose(f);
    }
    const bool exact = WIFEXITED(status) && WEXITSTATUS(status) == 3 && duplicates == kPlanted && others == 0;
    if (!exact)
        std::fprintf(stderr, "database_bench: db check found %zu duplicates and %zu other findings (exit %d); %zu planted\n",
                     duplicates, others, WIFEXITED(status) ? WEXITSTATUS(status) : -1, kPlanted);
    bench::rowAtMost("db check, 100,000 warehouses in SQLite (wall time)", seconds, 20, "s");
    bench::rowAtMost("db check, 100,000 warehouses in SQLite (peak memory)",
                     static_cast<double>(usage.ru_maxrss) / 1024.0, 500, "MB", "%.0f");
    return exact ? 0 : 1;
}
