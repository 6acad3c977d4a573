#include "database/database_url.h"

#include <cstdlib>

namespace vs {

namespace {

constexpr std::string_view kForms =
    "odbc:DSN, mysql://USER@HOST[:PORT]/DB, postgresql://USER@HOST[:PORT]/DB or sqlite:PATH";

[[noreturn]] void refuse(std::string_view url, const std::string& why)
{
    throw DatabaseError("database URL '" + std::string(url) + "' " + why + "; expected " + std::string(kForms));
}

// A URL holding a password is refused without being repeated.
[[noreturn]] void refusePassword()
{
    throw DatabaseError("a database URL holds a password, which belongs in VAULTSMITH_DB_PASSWORD and never in a "
                        "URL; expected " +
                        std::string(kForms));
}

// Whether an ODBC connection string sets a password (PWD= or PASSWORD=, any
// letter case, as any of its keys).
bool setsPassword(std::string_view connection)
{
    size_t start = 0;
    while (start <= connection.size()) {
        size_t end = connection.find(';', start);
        if (end == std::string_view::npos)
            end = connection.size();
        std::string key(connection.substr(start, end - start));
        key = key.substr(0, key.find('='));
        std::string bare;
        for (char c : key)
            if (c != ' ' && c != '\t')
                bare += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (connection.substr(start, end - start).find('=') != std::string_view::npos &&
            (bare == "PWD" || bare == "PASSWORD"))
            return true;
        start = end + 1;
    }
    return false;
}

bool isHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
}

// USER@HOST[:PORT]/DB after the scheme.
DatabaseUrl serverUrl(std::string_view url, std::string_view rest, DatabaseDriver driver, int defaultPort)
{
    DatabaseUrl parsed;
    parsed.driver = driver;
    const size_t at = rest.find('@');
    if (at == std::string_view::npos || at == 0)
        refuse(url, "names no user (USER@HOST)");
    const std::string_view user = rest.substr(0, at);
    if (user.find(':') != std::string_view::npos)
        refusePassword();
    rest.remove_prefix(at + 1);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos || slash + 1 == rest.size())
        refuse(url, "names no database (/DB at the end)");
    std::string_view hostPort = rest.substr(0, slash);
    parsed.database = std::string(rest.substr(slash + 1));
    if (parsed.database.find_first_of("/?#") != std::string::npos)
        refuse(url, "has more after the database's name");
    parsed.port = defaultPort;
    if (const size_t colon = hostPort.find(':'); colon != std::string_view::npos) {
        const std::string_view port = hostPort.substr(colon + 1);
        int value = 0;
        bool digits = !port.empty() && port.size() <= 5;
        for (char c : port) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (!digits || value < 1 || value > 65535)
            refuse(url, "has no port from 1 to 65535 after the host's ':'");
        parsed.port = value;
        hostPort = hostPort.substr(0, colon);
    }
    if (hostPort.empty())
        refuse(url, "names no host");
    for (char c : hostPort)
        if (!isHostChar(c))
            refuse(url, "has a host that is no name or address");
    parsed.user = std::string(user);
    parsed.host = std::string(hostPort);
    return parsed;
}

}  // namespace

DatabaseUrl parseDatabaseUrl(std::string_view url)
{
    if (url.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos)
        throw DatabaseError("a database URL is one line of text; expected " + std::string(kForms));
    if (url.starts_with("mysql://"))
        return serverUrl(url, url.substr(8), DatabaseDriver::MySql, 3306);
    if (url.starts_with("postgresql://"))
        return serverUrl(url, url.substr(13), DatabaseDriver::PostgreSql, 5432);
    DatabaseUrl parsed;
    if (url.starts_with("odbc:")) {
        parsed.driver = DatabaseDriver::Odbc;
        parsed.database = std::string(url.substr(5));
        if (parsed.database.empty())
            refuse(url, "names no data source after 'odbc:'");
        if (setsPassword(parsed.database))
            refusePassword();
        return parsed;
    }
    if (url.starts_with("sqlite:")) {
        parsed.driver = DatabaseDriver::Sqlite;
        parsed.database = std::string(url.substr(7));
        if (parsed.database.empty())
            refuse(url, "names no file after 'sqlite:'");
        return parsed;
    }
    refuse(url, "is of no kind known");
}

std::string_view databaseDriverName(DatabaseDriver driver)
{
    switch (driver) {
    case DatabaseDriver::Odbc: return "ODBC";
    case DatabaseDriver::MySql: return "MySQL";
    case DatabaseDriver::PostgreSql: return "PostgreSQL";
    case DatabaseDriver::Sqlite: return "SQLite";
    }
    return {};
}

bool takesPassword(const DatabaseUrl& url)
{
    return url.driver != DatabaseDriver::Sqlite;
}

std::optional<std::string> passwordFromEnvironment()
{
    if (const char* password = std::getenv("VAULTSMITH_DB_PASSWORD"))
        return std::string(password);
    return std::nullopt;
}

}  // namespace vs
