#pragma once

#include "database/database_url.h"

#include <ostream>
#include <string>
#include <vector>

namespace vs::test {

// A database the storage tests run against, with the column types its
// tables are made with.
struct TestDatabase {
    std::string label;  // a test name's part: "Sqlite", "MariaDb", "PostgreSqlOdbc", ...
    DatabaseUrl url;
    std::string password;
    std::string keyType;
    std::string blobType;
};

inline void PrintTo(const TestDatabase& database, std::ostream* out)
{
    *out << database.label;
}

// An SQLite file in a folder of the test program's own, and every server
// started for this test program (see test_servers.h); made on the first call
// and kept until the program ends.
std::vector<TestDatabase> testDatabases();

}  // namespace vs::test
