#pragma once

#include "database/test_databases.h"

#include <string>

namespace vs::test {

// The servers this test program starts, once, on the first call: PostgreSQL
// (initdb and postgres as the user nobody when run as root) and MariaDB
// (mariadb-install-db and mariadbd), each in a folder of its own under the
// temporary folder, listening on 127.0.0.1 at a free port, with a user that
// has a password. Both are stopped and their folders removed when the program
// ends. Empty when the server's programs are not installed.
struct TestServer {
    std::string name;      // "PostgreSQL", "MariaDB"
    std::string missing;   // why it did not start, when it did not
    DatabaseUrl url;       // through the native driver
    std::string odbc;      // the ODBC connection string, without the password
    std::string password;
    int port = 0;
};
const TestServer& postgresServer();
const TestServer& mariadbServer();

}  // namespace vs::test
