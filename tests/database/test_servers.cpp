#include "database/test_servers.h"

#include <QDir>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glob.h>
#include <thread>
#include <vector>

namespace vs::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "s3cret'; --";

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(s);
    return ntohs(address.sin_port);
}

bool accepts(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

// Runs a program to its end, as `user` when given and run as root; its output to `log`.
int run(const std::vector<std::string>& args, const std::string& log, const char* user = nullptr)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (FILE* f = std::fopen(log.c_str(), "a")) {
            ::dup2(fileno(f), 1);
            ::dup2(fileno(f), 2);
        }
        if (user && ::geteuid() == 0)
            if (const passwd* pw = ::getpwnam(user); !pw || ::setgid(pw->pw_gid) != 0 || ::setuid(pw->pw_uid) != 0)
                ::_exit(126);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int wait(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string found(const std::string& pattern)
{
    glob_t matches{};
    std::string path;
    if (::glob(pattern.c_str(), 0, nullptr, &matches) == 0 && matches.gl_pathc > 0)
        path = matches.gl_pathv[matches.gl_pathc - 1];
    ::globfree(&matches);
    return path;
}

// A server process, stopped (SIGTERM, then waited for) with its folder when the program ends.
struct Running {
    pid_t pid = 0;
    QTemporaryDir* folder = nullptr;
    ~Running()
    {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        delete folder;
    }
};

bool waitUntilAccepting(int port, pid_t pid)
{
    for (int i = 0; i < 600; ++i) {
        if (accepts(port))
            return true;
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TestServer startPostgres(Running& running)
{
    TestServer server;
    server.name = "PostgreSQL";
    const std::string bin = found("/usr/lib/postgresql/*/bin");
    if (bin.empty() || !fs::exists(bin + "/initdb")) {
        server.missing = "PostgreSQL's programs (Debian package postgresql) are not installed";
        return server;
    }
    running.folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vaultsmith-pg-XXXXXX"));
    const std::string dir = running.folder->path().toStdString();
    const char* user = "nobody";
    if (::geteuid() == 0)
        if (const passwd* pw = ::getpwnam(user))
            if (::chown(dir.c_str(), pw->pw_uid, pw->pw_gid) != 0)
                server.missing = "cannot give the server's folder to nobody";
    std::ofstream(dir + "/pw") << kPassword << '\n';
    if (::geteuid() == 0)
        if (const passwd* pw = ::getpwnam(user))
            [[maybe_unused]] int ignored = ::chown((dir + "/pw").c_str(), pw->pw_uid, pw->pw_gid);
    const std::string log = dir + "/server.log";
    if (wait(run({bin + "/initdb", "-D", dir + "/data", "-U", "vaultsmith", "--pwfile=" + dir + "/pw", "-A",
                  "scram-sha-256", "-E", "UTF8", "--no-sync", "--no-instructions"},
                 log, user)) != 0) {
        server.missing = "initdb failed; see " + log;
        return server;
    }
    fs::remove(dir + "/pw");
    server.port = freePort();
    running.pid = run({bin + "/postgres", "-D", dir + "/data", "-k", dir, "-p", std::to_string(server.port), "-c",
                       "listen_addresses=127.0.0.1", "-c", "fsync=off", "-c", "synchronous_commit=off", "-c",
                       "full_page_writes=off", "-c", "shared_buffers=16MB"},
                      log, user);
    if (!waitUntilAccepting(server.port, running.pid)) {
        server.missing = "postgres did not start; see " + log;
        return server;
    }
    server.url = parseDatabaseUrl("postgresql://vaultsmith@127.0.0.1:" + std::to_string(server.port) + "/postgres");
    server.odbc = "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(server.port) +
                  ";DATABASE=postgres;UID=vaultsmith;ByteaAsLongVarBinary=1";
    server.password = kPassword;
    return server;
}

TestServer startMariadb(Running& running)
{
    TestServer server;
    server.name = "MariaDB";
    if (!fs::exists("/usr/sbin/mariadbd") || !fs::exists("/usr/bin/mariadb-install-db")) {
        server.missing = "MariaDB's programs (Debian package mariadb-server) are not installed";
        return server;
    }
    running.folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vaultsmith-mariadb-XXXXXX"));
    const std::string dir = running.folder->path().toStdString();
    const std::string log = dir + "/server.log";
    const std::string user = ::geteuid() == 0 ? "--user=root" : "--user=" + std::string(::getpwuid(::geteuid())->pw_name);
    if (wait(run({"/usr/bin/mariadb-install-db", "--no-defaults", "--datadir=" + dir + "/data", user,
                  "--skip-test-db", "--auth-root-authentication-method=socket"},
                 log)) != 0) {
        server.missing = "mariadb-install-db failed; see " + log;
        return server;
    }
    server.port = freePort();
    const std::string socket = dir + "/mysqld.sock";
    running.pid = run({"/usr/sbin/mariadbd", "--no-defaults", "--datadir=" + dir + "/data", user,
                       "--socket=" + socket, "--port=" + std::to_string(server.port), "--bind-address=127.0.0.1",
                       "--skip-name-resolve", "--pid-file=" + dir + "/mysqld.pid", "--innodb-buffer-pool-size=16M",
                       "--innodb-flush-log-at-trx-commit=0", "--skip-log-bin", "--character-set-server=utf8mb4",
                       "--log-error=" + log},
                      log);
    if (!waitUntilAccepting(server.port, running.pid)) {
        server.missing = "mariadbd did not start; see " + log;
        return server;
    }
    const std::string sql = "CREATE DATABASE game; CREATE USER 'vaultsmith'@'127.0.0.1' IDENTIFIED BY '" +
                            std::string("s3cret''; --") + "'; GRANT ALL ON game.* TO 'vaultsmith'@'127.0.0.1';";
    if (wait(run({"/usr/bin/mariadb", "--no-defaults", "-S", socket, "-u", "root", "-e", sql}, log)) != 0) {
        server.missing = "cannot make the test user; see " + log;
        return server;
    }
    server.url = parseDatabaseUrl("mysql://vaultsmith@127.0.0.1:" + std::to_string(server.port) + "/game");
    server.odbc = "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(server.port) +
                  ";DATABASE=game;UID=vaultsmith";
    server.password = kPassword;
    return server;
}

}  // namespace

const TestServer& postgresServer()
{
    static Running running;
    static const TestServer server = startPostgres(running);
    return server;
}

const TestServer& mariadbServer()
{
    static Running running;
    static const TestServer server = startMariadb(running);
    return server;
}

std::vector<TestDatabase> testDatabases()
{
    std::vector<TestDatabase> list;
    if (const TestServer& pg = postgresServer(); pg.missing.empty()) {
        list.push_back({"PostgreSql", pg.url, pg.password, "VARCHAR(10)", "BYTEA"});
        list.push_back({"PostgreSqlOdbc", parseDatabaseUrl("odbc:" + pg.odbc), pg.password, "VARCHAR(10)", "BYTEA"});
    }
    if (const TestServer& maria = mariadbServer(); maria.missing.empty()) {
        list.push_back({"MariaDb", maria.url, maria.password, "VARCHAR(10)", "VARBINARY(1200)"});
        list.push_back({"MariaDbOdbc", parseDatabaseUrl("odbc:" + maria.odbc), maria.password, "VARCHAR(10)",
                        "VARBINARY(1200)"});
    }
    return list;
}

}  // namespace vs::test
