#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vs {

// A database that cannot be reached or read, a URL or name it cannot take:
// one line that says what went wrong, without the driver's own layers of text.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class DatabaseDriver { Odbc, MySql, PostgreSql, Sqlite };

// Where the server's database is, as a URL names it:
//   odbc:DSN                              a data source, or a whole ODBC connection
//                                         string ("DRIVER={...};SERVER=...;UID=...")
//   mysql://USER@HOST[:PORT]/DB           MySQL or MariaDB (port 3306 unless given)
//   postgresql://USER@HOST[:PORT]/DB      PostgreSQL (port 5432 unless given)
//   sqlite:PATH                           an SQLite file, which must exist
// A password never stands in the URL.
struct DatabaseUrl {
    DatabaseDriver driver = DatabaseDriver::Sqlite;
    std::string user;
    std::string host;
    int port = 0;
    std::string database;  // the DSN or connection string, the database's name, or the file

    bool operator==(const DatabaseUrl&) const = default;
};

// DatabaseError saying what is wrong with the URL and which forms there are.
DatabaseUrl parseDatabaseUrl(std::string_view url);
// "ODBC", "MySQL", "PostgreSQL", "SQLite".
std::string_view databaseDriverName(DatabaseDriver driver);
// Whether connecting takes a password (every driver but SQLite's).
bool takesPassword(const DatabaseUrl& url);
// The password VAULTSMITH_DB_PASSWORD holds (maybe empty), or none when it is not set.
std::optional<std::string> passwordFromEnvironment();

}  // namespace vs
