// storage: a character's inventory or an account's warehouse, read, checked
// and edited slot by slot.
#include "catalog/file_io.h"
#include "catalog/vault_error.h"
#include "cli/cli_context.h"
#include "storage/storage.h"
#include "storage/storage_text.h"
#include "check/file_check.h"

#include <algorithm>
#include <system_error>

namespace vs::cli {

namespace {

std::optional<StorageKind> chosenKind(const ParsedArgs& args)
{
    const bool inventory = args.has("--inventory");
    const bool warehouse = args.has("--warehouse");
    if (inventory && warehouse)
        throw UsageError("--inventory and --warehouse exclude each other");
    if (inventory)
        return StorageKind::Inventory;
    if (warehouse)
        return StorageKind::Warehouse;
    return std::nullopt;
}

Storage openStorage(const std::string& file, std::optional<StorageKind> kind)
{
    const InputFile input = readInputFile(file);
    if (input.failure)
        throw UsageError(file + ": cannot be read: " + *input.failure);
    try {
        return readStorage(input.bytes, kind);
    } catch (const StorageError& e) {
        throw UsageError(file + ": not a storage file: " + e.what());
    }
}

// The options only some storage commands take are refused elsewhere.
void refuseOptions(const ParsedArgs& args, const std::string& command, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (args.has(name))
            throw UsageError("option " + std::string(name) + " does not apply to storage " + command);
}

int parseSlot(const std::string& text, const Storage& storage)
{
    return static_cast<int>(parseInteger(text, "SLOT", 0, static_cast<int64_t>(storage.contents.size()) - 1));
}

// Writes the storage back in the form it was read in: to -o OUT, else over FILE.
void saveStorage(const Context& ctx, const std::string& file, const Storage& storage)
{
    std::optional<std::string> target = ctx.args.value("-o");
    if (!target)
        target = ctx.args.value("--output");
    if (!target)
        target = file;
    replaceFile(ctx, *target, writeStorage(storage));
}

// The options of the commands that write a file, and those of sql.
constexpr std::initializer_list<const char*> kWritingOptions = {"-o", "--output", "--backup", "--hex"};
constexpr std::initializer_list<const char*> kSqlOptions = {"--account", "--character", "--table", "--column"};

void refuseOptions(const ParsedArgs& args, const std::string& command,
                   std::initializer_list<std::initializer_list<const char*>> groups)
{
    for (const auto& names : groups)
        refuseOptions(args, command, names);
}

int runList(const Context& ctx, std::optional<StorageKind> kind)
{
    refuseOptions(ctx.args, "list", {kWritingOptions, kSqlOptions});
    expectPositionals(ctx.args, 2, "FILE");
    const Storage storage = openStorage(ctx.args.positionals[1], kind);
    printStorageList(ctx, storage, ctx.loadCatalog());
    return 0;
}

std::string plural(size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

int runMap(const Context& ctx, std::optional<StorageKind> kind)
{
    refuseOptions(ctx.args, "map", {kWritingOptions, kSqlOptions, {"--json"}});
    expectPositionals(ctx.args, 2, "FILE");
    const Storage storage = openStorage(ctx.args.positionals[1], kind);
    ctx.out << storageMap(storage, ctx.loadCatalog());
    return 0;
}

int runStorageCheck(const Context& ctx, std::optional<StorageKind> kind)
{
    refuseOptions(ctx.args, "check", {kWritingOptions, kSqlOptions, {"--json"}});
    const std::vector<std::string> files(ctx.args.positionals.begin() + 1, ctx.args.positionals.end());
    if (files.empty())
        throw UsageError("missing argument: expected FILE...");
    std::vector<Storage> storages;
    for (const std::string& file : files)
        storages.push_back(openStorage(file, kind));
    const Catalog catalog = ctx.loadCatalog();
    std::vector<const Storage*> pointers;
    for (const Storage& storage : storages)
        pointers.push_back(&storage);
    size_t errors = 0, warnings = 0;
    const auto findings = checkStorages(pointers, files, catalog);
    for (size_t f = 0; f < files.size(); ++f)
        for (const Finding& finding : findings[f]) {
            (finding.severity == Finding::Severity::Error ? errors : warnings)++;
            ctx.out << files[f] << ':' << finding.line << ": " << severityName(finding.severity) << ": "
                    << finding.message << " [" << finding.code << "]\n";
        }
    ctx.err << plural(errors, "error") << ", " << plural(warnings, "warning") << " in " << plural(files.size(), "file")
            << '\n';
    return errors > 0 ? 3 : 0;
}

// Runs one edit on the storage and saves it; a StorageError leaves the file as it was.
template <typename Edit>
int editStorage(const Context& ctx, std::optional<StorageKind> kind, const std::string& command, size_t arguments,
                std::string_view names, Edit edit)
{
    refuseOptions(ctx.args, command, {kSqlOptions, {"--json", "--hex"}});
    expectPositionals(ctx.args, arguments + 1, names);
    const std::string& file = ctx.args.positionals[1];
    Storage storage = openStorage(file, kind);
    const Catalog catalog = ctx.loadCatalog();
    try {
        edit(storage, catalog);
    } catch (const StorageError& e) {
        throw UsageError(file + ": " + e.what());
    }
    saveStorage(ctx, file, storage);
    return 0;
}

}  // namespace

StorageOwner storageOwner(const Context& ctx)
{
    const std::optional<std::string> account = ctx.args.value("--account");
    const std::optional<std::string> character = ctx.args.value("--character");
    if (account && character)
        throw UsageError("--account and --character exclude each other");
    if (!account && !character)
        throw UsageError("missing option: --account NAME for a warehouse or --character NAME for an inventory");
    return account ? StorageOwner{StorageKind::Warehouse, *account, "--account"}
                   : StorageOwner{StorageKind::Inventory, *character, "--character"};
}

namespace {

int runSql(const Context& ctx, std::optional<StorageKind> kind)
{
    refuseOptions(ctx.args, "sql", {kWritingOptions, {"--json"}});
    expectPositionals(ctx.args, 2, "FILE");
    const auto [wanted, name, option] = storageOwner(ctx);
    if (!isOwnerName(name))
        throw UsageError(std::string(option) + " must be 1 to 10 letters, digits or underscores, not '" + name + "'");
    for (const char* identifier : {"--table", "--column"})
        if (const std::optional<std::string> given = ctx.args.value(identifier); given && !isSqlIdentifier(*given))
            throw UsageError(std::string(identifier) +
                             " must be a letter or underscore followed by letters, digits or underscores (at most "
                             "128), not '" + *given + "'");
    const Storage storage = openStorage(ctx.args.positionals[1], kind);
    if (storage.kind != wanted)
        throw UsageError(ctx.args.positionals[1] + " is " + (storage.kind == StorageKind::Warehouse ? "a " : "an ") +
                         std::string(storageKindName(storage.kind)) + "; " + option + " names the owner of " +
                         (wanted == StorageKind::Warehouse ? "a " : "an ") + std::string(storageKindName(wanted)));
    StorageTable where = defaultStorageTable(storage.kind);
    where.table = ctx.args.value("--table").value_or(where.table);
    where.column = ctx.args.value("--column").value_or(where.column);
    ctx.out << storageSql(storage, name, where);
    return 0;
}

// An empty storage of the kind (a warehouse unless --inventory), as raw bytes
// or with --hex as one line of hexadecimal digits. An existing file is never replaced.
int runNew(const Context& ctx, std::optional<StorageKind> kind)
{
    refuseOptions(ctx.args, "new", {{"-o", "--output", "--backup", "--json"}, kSqlOptions});
    expectPositionals(ctx.args, 2, "FILE");
    const std::string& file = ctx.args.positionals[1];
    // A link, even to nothing, counts as a file; a place that cannot be looked
    // at is left to the writer, which says why.
    std::error_code ec;
    const std::filesystem::file_type type = std::filesystem::symlink_status(file, ec).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none)
        throw UsageError(file + " already exists; storage new makes a new file and never replaces one");
    Storage storage;
    storage.kind = kind.value_or(StorageKind::Warehouse);
    storage.form = ctx.args.has("--hex") ? StorageForm::Hex : StorageForm::Raw;
    storage.lineEnd = storage.form == StorageForm::Hex ? "\n" : "";
    storage.contents.assign(static_cast<size_t>(storageSlotCount(storage.kind)), kEmptySlot);
    try {
        writeFileAtomically(file, writeStorage(storage));
    } catch (const std::system_error& e) {
        throw UsageError("cannot write " + file + ": " + e.code().message());
    }
    return 0;
}

}  // namespace

void printStorageList(const Context& ctx, const Storage& storage, const Catalog& catalog)
{
    if (ctx.args.has("--json")) {
        JsonArray array;
        for (int s = 0; s < static_cast<int>(storage.contents.size()); ++s) {
            const StorageSlot& slot = storage.contents[static_cast<size_t>(s)];
            if (isEmptySlot(slot))
                continue;
            const std::optional<StorageCell> at = slotCell(storage.kind, s);
            array.add(JsonObject()
                          .number("slot", int64_t{s})
                          .number("x", at ? std::optional<int64_t>(at->x) : std::nullopt)
                          .number("y", at ? std::optional<int64_t>(at->y) : std::nullopt)
                          .text("code", slotHex(slot))
                          .text("name", storageItemName(catalog, slot)));
        }
        ctx.out << array.close();
        return;
    }
    for (int s = 0; s < static_cast<int>(storage.contents.size()); ++s) {
        const StorageSlot& slot = storage.contents[static_cast<size_t>(s)];
        if (isEmptySlot(slot))
            continue;
        ctx.out << s << '\t';
        if (const std::optional<StorageCell> at = slotCell(storage.kind, s))
            ctx.out << at->x << '\t' << at->y;
        else
            ctx.out << "-\t-";
        ctx.out << '\t' << slotHex(slot) << '\t' << storageItemName(catalog, slot) << '\n';
    }
}

int runStorage(const Context& ctx)
{
    if (ctx.args.positionals.empty())
        throw UsageError("missing storage command: expected new, list, map, check, set, clear, move or sql");
    const std::string& command = ctx.args.positionals[0];
    const std::optional<StorageKind> kind = chosenKind(ctx.args);
    const auto& p = ctx.args.positionals;
    if (command == "new")
        return runNew(ctx, kind);
    if (command == "list")
        return runList(ctx, kind);
    if (command == "map")
        return runMap(ctx, kind);
    if (command == "check")
        return runStorageCheck(ctx, kind);
    if (command == "sql")
        return runSql(ctx, kind);
    if (command == "set")
        return editStorage(ctx, kind, command, 3, "FILE SLOT CODE", [&](Storage& storage, const Catalog& catalog) {
            const int slot = parseSlot(p[2], storage);
            const std::optional<StorageSlot> item = slotFromHex(p[3]);
            if (!item)
                throw UsageError("CODE must be 20 hexadecimal digits, not '" + p[3] + "'");
            setStorageItem(storage, catalog, slot, *item);
        });
    if (command == "clear")
        return editStorage(ctx, kind, command, 2, "FILE SLOT", [&](Storage& storage, const Catalog&) {
            removeStorageItem(storage, parseSlot(p[2], storage));
        });
    if (command == "move")
        return editStorage(ctx, kind, command, 4, "FILE SLOT X Y", [&](Storage& storage, const Catalog& catalog) {
            const int slot = parseSlot(p[2], storage);
            const int x = static_cast<int>(parseInteger(p[3], "X", 0, kStorageColumns - 1));
            const int y = static_cast<int>(parseInteger(p[4], "Y", 0, storageRows(storage.kind) - 1));
            moveStorageItem(storage, catalog, slot, x, y);
        });
    throw UsageError("unknown storage command '" + command +
                     "': expected new, list, map, check, set, clear, move or sql");
}

}  // namespace vs::cli
