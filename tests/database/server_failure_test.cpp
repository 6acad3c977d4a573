// What an operator sees when the server says no or is not there: one line,
// through every driver, and from the command line exit status 2.
#include "database/database_storage.h"
#include "database/test_servers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace vs {
namespace {

using test::TestServer;

// Every way the tests reach a server: its URL and ODBC, each with the server.
std::vector<std::pair<std::string, const TestServer*>> routes()
{
    std::vector<std::pair<std::string, const TestServer*>> list;
    for (const TestServer* server : {&test::postgresServer(), &test::mariadbServer()})
        if (server->missing.empty()) {
            list.emplace_back(server->name + " native", server);
            list.emplace_back(server->name + " ODBC", server);
        }
    return list;
}

DatabaseUrl urlOf(const std::string& route, const TestServer& server, int port)
{
    std::string odbc = server.odbc;
    std::string url = (server.url.driver == DatabaseDriver::MySql ? "mysql://" : "postgresql://") + server.url.user +
                      "@127.0.0.1:" + std::to_string(port) + "/" + server.url.database;
    odbc.replace(odbc.find(std::to_string(server.port)), std::to_string(server.port).size(), std::to_string(port));
    return parseDatabaseUrl(route.ends_with("ODBC") ? "odbc:" + odbc : url);
}

void expectOneLine(const DatabaseUrl& url, const std::string& password, const std::string& route)
{
    try {
        DatabaseConnection connection(url, password);
        ADD_FAILURE() << route << ": connected";
    } catch (const DatabaseError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.find('\n'), std::string::npos) << route << ": " << message;
        EXPECT_TRUE(message.starts_with("cannot connect to ")) << route << ": " << message;
        EXPECT_LT(message.size(), 400u) << route << ": " << message;
        EXPECT_EQ(message.find(password), std::string::npos) << route << ": the password is in " << message;
        std::printf("%s: %s\n", route.c_str(), message.c_str());
    }
}

TEST(DatabaseServers, AreStartedOrSaySoWhenTheirProgramsAreAbsent)
{
    for (const TestServer* server : {&test::postgresServer(), &test::mariadbServer()})
        if (!server->missing.empty()) {
            // Only absent programs excuse a server; anything else is a failure.
            EXPECT_NE(server->missing.find("not installed"), std::string::npos) << server->missing;
            std::printf("%s skipped: %s\n", server->name.c_str(), server->missing.c_str());
        }
    if (routes().empty())
        GTEST_SKIP() << "no database server is installed";
}

TEST(DatabaseServers, AWrongPasswordIsOneClearLine)
{
    for (const auto& [route, server] : routes())
        expectOneLine(urlOf(route, *server, server->port), "wrong-password", route);
}

TEST(DatabaseServers, AStoppedServerIsOneClearLine)
{
    for (const auto& [route, server] : routes()) {
        // A port nothing listens on: the server as it is when stopped.
        const int port = server->port + 1 == 65536 ? server->port - 1 : server->port + 1;
        expectOneLine(urlOf(route, *server, port), server->password, route);
    }
}

TEST(DatabaseServers, TheCommandLineGivesOneLineAndStatusTwo)
{
    for (const auto& [route, server] : routes()) {
        const DatabaseUrl url = urlOf(route, *server, server->port);
        const std::string shown = url.driver == DatabaseDriver::Odbc ? "odbc:" + url.database
                                  : url.driver == DatabaseDriver::MySql
                                      ? "mysql://" + url.user + "@127.0.0.1:" + std::to_string(url.port) + "/" + url.database
                                      : "postgresql://" + url.user + "@127.0.0.1:" + std::to_string(url.port) + "/" +
                                            url.database;
        const std::string command = "VAULTSMITH_DB_PASSWORD=wrong '" VAULTSMITH_CLI "' db pull '" + shown +
                                    "' --account alice 2>&1 < /dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        std::array<char, 4096> buffer;
        while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            output.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        EXPECT_EQ(WEXITSTATUS(status), 2) << route << ": " << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << route << ": " << output;
        EXPECT_TRUE(output.starts_with("vaultsmith-cli: cannot connect to ")) << route << ": " << output;
    }
}

}  // namespace
}  // namespace vs
