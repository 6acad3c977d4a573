// db: storages where the server keeps them, its database: pulled into a file
// or a listing, pushed back only while the row still holds what was pulled,
// and checked all together.
#include "catalog/file_io.h"
#include "catalog/text_utils.h"
#include "cli/cli_context.h"
#include "database/database_storage.h"
#include "database/database_url.h"
#include "storage/storage.h"
#include "storage/storage_text.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

namespace vs::cli {

namespace {

std::string plural(size_t count, const char* word, const char* many = nullptr)
{
    return std::to_string(count) + " " + (count == 1 ? std::string(word) : many ? many : std::string(word) + "s");
}

// The password: VAULTSMITH_DB_PASSWORD, else typed on the terminal without
// echo. Never kept anywhere but in memory.
std::string databasePassword(const DatabaseUrl& url)
{
    if (!takesPassword(url))
        return {};
    if (std::optional<std::string> password = passwordFromEnvironment())
        return *password;
    if (!isatty(STDIN_FILENO))
        throw UsageError("no password: set VAULTSMITH_DB_PASSWORD, or run from a terminal to be asked for it");
    static termios old{};
    tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    // Ctrl+C or a hang-up while it is typed leaves the terminal echoing again.
    const auto restore = [](int signal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &old);
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    };
    const auto interrupt = std::signal(SIGINT, restore);
    const auto hangUp = std::signal(SIGHUP, restore);
    const auto terminate = std::signal(SIGTERM, restore);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::cerr << "Password for " << databaseDriverName(url.driver) << ": " << std::flush;
    std::string password;
    const bool read = static_cast<bool>(std::getline(std::cin, password));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
    std::signal(SIGINT, interrupt);
    std::signal(SIGHUP, hangUp);
    std::signal(SIGTERM, terminate);
    std::cerr << '\n';
    if (!read)
        throw UsageError("no password was typed");
    return password;
}

DatabaseUrl urlOf(const Context& ctx)
{
    if (ctx.args.positionals.size() < 2)
        throw UsageError("missing argument: expected URL");
    try {
        return parseDatabaseUrl(ctx.args.positionals[1]);
    } catch (const DatabaseError& e) {
        throw UsageError(e.what());
    }
}

void refuse(const ParsedArgs& args, const std::string& command, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (args.has(name))
            throw UsageError("option " + std::string(name) + " does not apply to db " + command);
}

// The table of a kind with --table, --key and --column applied.
StorageTable tableOf(const Context& ctx, StorageKind kind)
{
    StorageTable where = defaultStorageTable(kind);
    const struct {
        const char* option;
        std::string* name;
    } names[] = {{"--table", &where.table}, {"--key", &where.keyColumn}, {"--column", &where.column}};
    for (const auto& [option, name] : names)
        if (const std::optional<std::string> given = ctx.args.value(option)) {
            if (!isSqlIdentifier(*given))
                throw UsageError(std::string(option) +
                                 " must be a letter or underscore followed by letters, digits or underscores (at "
                                 "most 128), not '" + *given + "'");
            *name = *given;
        }
    return where;
}

// The owner; any name but an empty one (it is bound, never put in a statement).
StorageOwner ownerOf(const Context& ctx)
{
    StorageOwner owner = storageOwner(ctx);
    if (owner.name.empty())
        throw UsageError(std::string(owner.option) + " names nobody: the name is empty");
    return owner;
}

// "the warehouse of account 'NAME'".
std::string whose(const StorageOwner& owner)
{
    return "the " + std::string(storageKindName(owner.kind)) + " of " +
           (owner.kind == StorageKind::Warehouse ? "account '" : "character '") + owner.name + "'";
}

Storage storageFile(const std::string& file, StorageKind kind)
{
    const InputFile input = readInputFile(file);
    if (input.failure)
        throw UsageError(file + ": cannot be read: " + *input.failure);
    try {
        return readStorage(input.bytes, kind);
    } catch (const StorageError& e) {
        throw UsageError(file + ": not " + (kind == StorageKind::Warehouse ? "a " : "an ") +
                         std::string(storageKindName(kind)) + ": " + e.what());
    }
}

std::string rawBytes(Storage storage)
{
    storage.form = StorageForm::Raw;
    return writeStorage(storage);
}

int runPull(const Context& ctx)
{
    refuse(ctx.args, "pull", {"--expect", "--force", "--warehouses", "--inventories"});
    expectPositionals(ctx.args, 2, "URL");
    const DatabaseUrl url = urlOf(ctx);
    const StorageOwner owner = ownerOf(ctx);
    const StorageTable where = tableOf(ctx, owner.kind);
    std::optional<std::string> target = ctx.args.value("-o");
    if (!target)
        target = ctx.args.value("--output");
    if (target && ctx.args.has("--json"))
        throw UsageError("--json lists the storage and -o writes it to a file: give one of them");
    if (!target && ctx.args.has("--hex"))
        throw UsageError("--hex is the form of the file -o writes");
    const std::string password = databasePassword(url);
    std::optional<std::string> bytes;
    try {
        DatabaseConnection connection(url, password);
        bytes = pullStorageBytes(connection, where, owner.name);
    } catch (const DatabaseError& e) {
        throw UsageError(e.what());
    }
    if (!bytes)
        throw UsageError("no row of table " + where.table + " has " + where.keyColumn + " = '" + owner.name + "'");
    Storage storage;
    try {
        storage = readStorage(*bytes, owner.kind);
    } catch (const StorageError& e) {
        throw UsageError(whose(owner) + ": the " + where.column + " column holds no " +
                         std::string(storageKindName(owner.kind)) + ": " + e.what());
    }
    if (target) {
        const bool hex = ctx.args.has("--hex");
        storage.form = hex ? StorageForm::Hex : StorageForm::Raw;
        storage.lineEnd.assign(hex ? 1 : 0, '\n');
        replaceFile(ctx, *target, writeStorage(storage));
        return 0;
    }
    printStorageList(ctx, storage, ctx.loadCatalog());
    return 0;
}

int runPush(const Context& ctx)
{
    refuse(ctx.args, "push", {"-o", "--output", "--hex", "--json", "--warehouses", "--inventories"});
    expectPositionals(ctx.args, 3, "URL FILE");
    const DatabaseUrl url = urlOf(ctx);
    const StorageOwner owner = ownerOf(ctx);
    const StorageTable where = tableOf(ctx, owner.kind);
    const std::optional<std::string> original = ctx.args.value("--expect");
    const bool force = ctx.args.has("--force");
    if (original && force)
        throw UsageError("--expect and --force exclude each other");
    if (!original && !force)
        throw UsageError("missing option: --expect ORIGINAL (the file as pulled), or --force to write whatever "
                         "the row holds now");
    const std::string& file = ctx.args.positionals[2];
    const std::string bytes = rawBytes(storageFile(file, owner.kind));
    std::optional<std::string> expected;
    if (original)
        expected = rawBytes(storageFile(*original, owner.kind));
    const std::string password = databasePassword(url);
    PushOutcome outcome;
    try {
        DatabaseConnection connection(url, password);
        outcome = pushStorageBytes(connection, where, owner.name, bytes, expected);
    } catch (const DatabaseError& e) {
        throw UsageError(e.what());
    }
    if (outcome == PushOutcome::Changed) {
        ctx.err << "vaultsmith-cli: " << whose(owner) << " changed since " << *original
                << " was read; nothing written (pull it again, or write over it with --force)\n";
        return 4;
    }
    ctx.err << "wrote " << file << " to " << whose(owner)
            << (force ? " without checking what the row held (--force)" : "") << '\n';
    return 0;
}

int runDatabaseCheck(const Context& ctx)
{
    refuse(ctx.args, "check", {"-o", "--output", "--hex", "--expect", "--force", "--account", "--character"});
    expectPositionals(ctx.args, 2, "URL");
    const DatabaseUrl url = urlOf(ctx);
    bool warehouses = ctx.args.has("--warehouses");
    bool inventories = ctx.args.has("--inventories");
    if (!warehouses && !inventories)
        warehouses = inventories = true;
    if (warehouses && inventories)
        for (const char* option : {"--table", "--key", "--column"})
            if (ctx.args.has(option))
                throw UsageError(std::string(option) + " names one kind's table: give --warehouses or --inventories");
    std::vector<std::pair<StorageKind, StorageTable>> tables;
    if (warehouses)
        tables.emplace_back(StorageKind::Warehouse, tableOf(ctx, StorageKind::Warehouse));
    if (inventories)
        tables.emplace_back(StorageKind::Inventory, tableOf(ctx, StorageKind::Inventory));
    const Catalog catalog = ctx.loadCatalog();
    const std::string password = databasePassword(url);
    const bool json = ctx.args.has("--json");
    JsonArray array;
    DatabaseCheckTotals totals;
    try {
        DatabaseConnection connection(url, password, true);
        totals = checkDatabaseStorages(connection, tables, catalog, [&](const StorageFinding& found) {
            const Finding& f = found.finding;
            if (json) {
                array.add(JsonObject()
                              .text("kind", storageKindName(found.kind))
                              .text("owner", found.owner)
                              .number("slot", int64_t{f.line})
                              .text("severity", severityName(f.severity))
                              .text("code", f.code)
                              .text("message", f.message));
                if (array.pending() > (1 << 16))
                    ctx.out << array.take();
            } else {
                // Names and messages come from the database: control bytes in
                // them are shown as \xNN, never acted on by the terminal.
                ctx.out << escapeControlBytes(found.owner) << ':' << f.line << ": " << severityName(f.severity) << ": "
                        << escapeControlBytes(f.message) << " [" << f.code << "]\n";
            }
        });
    } catch (const DatabaseError& e) {
        throw UsageError(e.what());
    }
    if (json)
        ctx.out << array.close();
    std::string read;
    if (warehouses)
        read = totals.warehouses == 0 ? "no warehouses (table " + tables.front().second.table + " is empty)"
                                      : plural(totals.warehouses, "warehouse");
    if (inventories) {
        const std::string& table = tables.back().second.table;
        read += (read.empty() ? "" : " and ") + (totals.inventories == 0 ? "no inventories (table " + table +
                                                                                  " is empty)"
                                                                            : plural(totals.inventories, "inventory",
                                                                                     "inventories"));
    }
    ctx.err << plural(totals.errors, "error") << ", " << plural(totals.warnings, "warning") << " in " << read << '\n';
    return totals.errors > 0 ? 3 : 0;
}

}  // namespace

int runDatabase(const Context& ctx)
{
    if (ctx.args.positionals.empty())
        throw UsageError("missing db command: expected pull, push or check");
    const std::string& command = ctx.args.positionals[0];
    if (command == "pull")
        return runPull(ctx);
    if (command == "push")
        return runPush(ctx);
    if (command == "check")
        return runDatabaseCheck(ctx);
    throw UsageError("unknown db command '" + command + "': expected pull, push or check");
}

}  // namespace vs::cli
