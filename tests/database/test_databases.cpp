#include "database/test_databases.h"

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

namespace vs::test {

std::vector<TestDatabase> testDatabases()
{
    static QTemporaryDir* folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vaultsmith-db-XXXXXX"));
    static const std::vector<TestDatabase> databases = [] {
        const std::string file = folder->filePath(QStringLiteral("game.db")).toStdString();
        std::ofstream(file).flush();  // an empty file is an empty SQLite database
        std::vector<TestDatabase> list;
        list.push_back({"Sqlite", parseDatabaseUrl("sqlite:" + file), "", "VARCHAR(10)", "BLOB"});
        return list;
    }();
    return databases;
}

}  // namespace vs::test
