#include "cli/cli_commands.h"

#include "catalog/catalog_loader.h"
#include "catalog/data_location.h"
#include "catalog/file_io.h"
#include "catalog/item_search.h"
#include "catalog/startup_message.h"
#include "catalog/text_encoding.h"
#include "catalog/text_utils.h"
#include "catalog/vault_error.h"
#include "cli/cli_args.h"
#include "cli/cli_context.h"
#include "cli/cli_help.h"
#include "app_version.h"
#include "codes/display_name.h"
#include "codes/shop_code.h"
#include "codes/vault_code.h"
#include "codes/vault_decode.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "document/list_writer.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace vs::cli {

Catalog Context::loadCatalog() const
{
    std::filesystem::path dir = args.has("--data") ? std::filesystem::path(*args.value("--data"))
                                                  : defaultDataFolder(programDir);
    try {
        return loadDataFolder(dir);
    } catch (const VaultError& e) {
        throw DataLoadFailure{e};
    }
}

namespace {

struct ListBytes {
    std::string bytes;
    int editMode = 0;
};

// The bytes of a shop or item-bag file and its kind, told from its name;
// UsageError when the name tells no kind or the file cannot be read.
ListBytes readListBytes(const std::string& file)
{
    const std::string name = std::filesystem::path(file).filename().string();
    std::optional<int> editMode = editModeForFileName(name);
    if (!editMode)
        throw UsageError(openRefusalMessage(name));
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw UsageError("cannot read " + file + ": no such file");
    try {
        return {readFileBytes(file), *editMode};
    } catch (const VaultError&) {
        throw UsageError("cannot read " + file + ": not a readable file");
    }
}

}  // namespace

const FileLayout* chosenLayout(const ParsedArgs& args)
{
    const std::optional<std::string> name = args.value("--layout");
    if (!name)
        return nullptr;
    const FileLayout* layout = layoutByName(*name);
    if (!layout)
        throw UsageError("unknown layout '" + *name + "' (known: " + layoutNames() + ")");
    return layout;
}

namespace {

const FileLayout& listLayout(const ListBytes& list, const FileLayout* forced)
{
    return forced ? *forced : detectLayout(list.bytes, list.editMode);
}

}  // namespace

OpenedList openList(const std::string& file, const FileLayout* forced)
{
    ListBytes list = readListBytes(file);
    const FileLayout& layout = listLayout(list, forced);
    return {readListFile(std::move(list.bytes), layout), layout.editMode, &layout};
}

std::string layoutNote(const std::string& file, const FileLayout& layout)
{
    std::string note = file + ": layout " + std::string(layout.name) + " (" + layout.columnNames();
    if (layout.sectioned())
        note += ", in sections";
    return note + ")";
}

void expectPositionals(const ParsedArgs& args, size_t count, std::string_view names)
{
    if (args.positionals.size() < count)
        throw UsageError("missing argument: expected " + std::string(names));
    if (args.positionals.size() > count)
        throw UsageError("unexpected argument '" + args.positionals[count] + "'");
}

namespace {

// The encoding --encoding names, or none when the option is not given.
std::optional<TextEncoding> chosenEncoding(const ParsedArgs& args)
{
    std::optional<std::string> name = args.value("--encoding");
    if (!name)
        return std::nullopt;
    std::optional<TextEncoding> encoding = TextEncoding::byName(*name);
    if (!encoding)
        throw UsageError("unknown encoding '" + *name + "' (known: " + TextEncoding::knownNames() + ")");
    return encoding;
}

std::array<bool, kExcellentCount> parseExcellentList(const std::string& list)
{
    std::array<bool, kExcellentCount> flags{};
    if (list == "all") {
        flags.fill(true);
        return flags;
    }
    size_t start = 0;
    while (true) {
        size_t comma = list.find(',', start);
        std::string piece = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        flags[parseInteger(piece, "--exc entry", 0, kExcellentCount - 1)] = true;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return flags;
}

int runEncode(const Context& ctx)
{
    expectPositionals(ctx.args, 7, "CLASS INDEX LEVEL DUR SKILL LUCK OPTION");
    const auto& p = ctx.args.positionals;
    clsShopCode shop;
    shop.classIndex = static_cast<int16_t>(parseInteger(p[0], "CLASS", 0, 15));
    shop.typeIndex = static_cast<int16_t>(parseInteger(p[1], "INDEX", 0, 31));
    shop.level = static_cast<int16_t>(parseInteger(p[2], "LEVEL", 0, 12));
    shop.dur = static_cast<int16_t>(parseInteger(p[3], "DUR", 0, 255));
    shop.skill = static_cast<int16_t>(parseInteger(p[4], "SKILL", 0, 1));
    shop.luck = static_cast<int16_t>(parseInteger(p[5], "LUCK", 0, 1));
    shop.optLevel = static_cast<int16_t>(parseInteger(p[6], "OPTION", 0, 4));

    clsVaultCode vault;
    if (auto serial = ctx.args.value("--serial"))
        vault.setId(static_cast<double>(parseInteger(*serial, "--serial", INT32_MIN, INT32_MAX)));
    if (auto list = ctx.args.value("--exc")) {
        auto flags = parseExcellentList(*list);
        for (int i = 0; i < kExcellentCount; ++i)
            vault.setXlntOption(i, flags[i] ? 1 : 0);
    }
    std::optional<std::string> only = ctx.args.value("--only");
    if (only && *only != "vault" && *only != "shop" && *only != "bag")
        throw UsageError("--only must be vault, shop or bag, not '" + *only + "'");

    const std::string vaultCode = vault.getCode(shop);
    const std::string shopCode = shop.getCode(" ");
    const std::string bagCode = shop.getBagCode(" ");
    if (!only || *only == "vault")
        ctx.out << (only ? "" : "vault ") << vaultCode << '\n';
    if (!only || *only == "shop")
        ctx.out << (only ? "" : "shop ") << shopCode << '\n';
    if (!only || *only == "bag")
        ctx.out << (only ? "" : "bag ") << bagCode << '\n';
    return 0;
}

int runDecode(const Context& ctx)
{
    expectPositionals(ctx.args, 1, "HEX");
    const std::string& hex = ctx.args.positionals[0];
    std::optional<DecodedVault> item = decodeVaultCode(hex);
    if (!item)
        throw UsageError("HEX must be 20 hexadecimal digits, not '" + hex + "'");
    std::string exc;
    for (int i = 0; i < kExcellentCount; ++i)
        if (item->excellent[i]) {
            if (!exc.empty())
                exc += ',';
            exc += std::to_string(i);
        }
    // The catalog is read before anything is printed, so that output is whole.
    std::optional<std::string> name;
    try {
        Catalog catalog = ctx.loadCatalog();
        name = vaultItemName(catalog, *item);
        if (ctx.encoding)
            name = namesEncoding(catalog, *ctx.encoding).decode(*name);
    } catch (const DataLoadFailure&) {
        // Without a catalog there is no name to give; the fields still stand.
    }
    ctx.out << "class " << item->classIndex << '\n'
            << "index " << item->typeIndex << '\n'
            << "level " << item->level << '\n'
            << "dur " << item->dur << '\n'
            << "skill " << item->skill << '\n'
            << "luck " << item->luck << '\n'
            << "option " << item->optLevel << '\n'
            << "serial " << item->serial << '\n'
            << "exc " << (exc.empty() ? "none" : exc) << '\n';
    if (name)
        ctx.out << "name " << *name << '\n';
    return 0;
}

// `entries` and `normalize` go through the file once, entry by entry, and
// keep none: memory stays near the file's own size.
int runEntries(const Context& ctx)
{
    expectPositionals(ctx.args, 1, "FILE");
    const ListBytes list = readListBytes(ctx.args.positionals[0]);
    const FileLayout& layout = listLayout(list, chosenLayout(ctx.args));
    ctx.err << layoutNote(ctx.args.positionals[0], layout) << '\n';
    std::optional<TextEncoding> shown;
    if (ctx.encoding)
        shown = shownEncoding(list.bytes, *ctx.encoding);
    std::string lines;  // printed in pieces of about 64 KiB
    auto flush = [&] {
        ctx.out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        lines.clear();
    };
    forEachListLine(
        list.bytes, layout,
        [&](ListEntry&& entry) {
            lines += std::to_string(entry.kind);
            lines += '\t';
            // Control bytes are shown as \xNN: printed, they could move the terminal's cursor.
            lines += escapeControlBytes(shown ? shown->decode(entry.text) : entry.text);
            lines += '\n';
            if (lines.size() >= (size_t{1} << 16))
                flush();
        },
        [](const SourceLine&) {});
    flush();
    return 0;
}

int runNormalize(const Context& ctx)
{
    expectPositionals(ctx.args, 1, "FILE");
    const ListBytes list = readListBytes(ctx.args.positionals[0]);
    const FileLayout& layout = listLayout(list, chosenLayout(ctx.args));
    const SaveStyle style = ctx.args.has("--tidy") ? SaveStyle::Tidy : SaveStyle::KeepLines;
    std::optional<std::string> target = ctx.args.value("-o");
    if (!target)
        target = ctx.args.value("--output");
    if (!target) {
        writeListStream(list.bytes, layout, style, [&](std::string_view piece) {
            ctx.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        return 0;
    }
    // The file is replaced in one step, so its new bytes are gathered first.
    std::string bytes;
    writeListStream(list.bytes, layout, style, [&](std::string_view piece) { bytes += piece; });
    try {
        writeFileAtomically(*target, bytes);
    } catch (const std::system_error& e) {
        throw UsageError("cannot write " + *target + ": " + e.code().message());
    }
    return 0;
}

int runCatalog(const Context& ctx)
{
    expectPositionals(ctx.args, 0, "no arguments");
    const Catalog catalog = ctx.loadCatalog();
    std::optional<TextEncoding> shown;
    if (ctx.encoding)
        shown = namesEncoding(catalog, *ctx.encoding);
    const auto show = [&](const std::string& name) { return shown ? shown->decode(name) : name; };
    for (int c = 0; c < kClassCount; ++c)
        for (int t = 0; t < kItemsPerClass; ++t)
            if (const clsItemProperty* item = catalog.item(c, t))
                ctx.out << "item\t" << c << '\t' << t << '\t' << item->width << '\t' << item->height
                        << '\t' << item->dur << '\t' << show(item->name) << '\n';
    for (const clsSubTypeProperty& row : catalog.arrSubTypes)
        ctx.out << "subtype\t" << row.id << '\t' << row.level << '\t' << show(row.name) << '\n';
    return 0;
}

int runSearch(const Context& ctx)
{
    const auto& terms = ctx.args.positionals;
    if (terms.empty())
        throw UsageError("missing argument: expected TERM...");
    std::string typed;
    for (const std::string& term : terms) {
        if (!typed.empty())
            typed += ' ';
        typed += term;
    }
    SearchQuery query = prepareSearchQuery(typed);
    if (query.terms.empty())
        return 0;
    const Catalog catalog = ctx.loadCatalog();
    std::optional<TextEncoding> shown;
    if (ctx.encoding) {
        // The terms are typed as UTF-8 and looked for among the names' bytes.
        shown = namesEncoding(catalog, *ctx.encoding);
        if (std::optional<size_t> at = shown->firstUnencodable(typed)) {
            const size_t blank = typed.rfind(' ', *at);
            const size_t start = blank == std::string::npos ? 0 : blank + 1;
            throw UsageError("search term '" + typed.substr(start, typed.find(' ', *at) - start) +
                             "' cannot be written in " + shown->label());
        }
        query = prepareSearchQuery(*shown->encode(typed));
    }
    for (const SearchRow& row : searchCatalog(catalog, query, ctx.args.has("--words")))
        ctx.out << row.value << '\t' << (shown ? shown->decode(row.text) : row.text) << '\n';
    return 0;
}

struct Command {
    std::string_view name;
    std::vector<OptionSpec> options;
    bool unknownArePositional;
    int (*run)(const Context&);
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"encode", {{"--serial", true}, {"--exc", true}, {"--only", true}}, false, runEncode},
        {"decode", {{"--encoding", true}}, false, runDecode},
        {"entries", {{"--encoding", true}, {"--layout", true}}, false, runEntries},
        {"normalize", {{"-o", true}, {"--output", true}, {"--tidy", false}, {"--layout", true}}, false, runNormalize},
        {"catalog", {{"--encoding", true}}, false, runCatalog},
        {"search", {{"--words", false}, {"--encoding", true}}, true, runSearch},
        {"check", {{"--json", false}, {"--names", false}, {"--layout", true}}, false, runCheck},
        {"grid", {{"--map", false}, {"--layout", true}}, false, runGrid},
        {"storage",
         {{"-o", true}, {"--output", true}, {"--inventory", false}, {"--warehouse", false}, {"--account", true},
          {"--character", true}, {"--table", true}, {"--column", true}},
         false,
         runStorage},
    };
    return table;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programDir)
{
    try {
        // Options before the command: --data, --encoding, --help and --version only.
        size_t at = 0;
        ParsedArgs global;
        for (; at < args.size() && args[at].size() > 1 && args[at][0] == '-'; ++at) {
            std::vector<std::string> one{args[at]};
            if ((args[at] == "--data" || args[at] == "--encoding") && at + 1 < args.size())
                one.push_back(args[++at]);
            ParsedArgs parsed =
                parseArgs(one, {{"--data", true}, {"--encoding", true}, {"--help", false}, {"--version", false}});
            if (!parsed.positionals.empty())
                throw UsageError("unknown option " + parsed.positionals[0]);
            for (auto& [name, value] : parsed.options) {
                if (global.has(name))
                    throw UsageError("option " + name + " given twice");
                global.options[name] = value;
            }
        }
        if (global.has("--version")) {
            out << "vaultsmith-cli " << kVersionText << '\n';
            return 0;
        }
        if (at == args.size()) {
            if (global.has("--help")) {
                out << helpText("");
                return 0;
            }
            throw UsageError("missing command; see 'vaultsmith-cli --help'");
        }
        const std::string& name = args[at];
        auto command = std::find_if(commands().begin(), commands().end(),
                                    [&](const Command& c) { return c.name == name; });
        if (command == commands().end())
            throw UsageError("unknown command '" + name + "'; see 'vaultsmith-cli --help'");

        std::vector<OptionSpec> specs = command->options;
        specs.push_back({"--data", true});
        specs.push_back({"--help", false});
        ParsedArgs parsed = parseArgs({args.begin() + at + 1, args.end()}, specs, command->unknownArePositional);
        if (global.has("--help") || parsed.has("--help")) {
            out << helpText(name);
            return 0;
        }
        if (auto data = global.value("--data")) {
            if (parsed.has("--data"))
                throw UsageError("option --data given twice");
            parsed.options["--data"] = *data;
        }
        if (auto encoding = global.value("--encoding")) {
            const bool takesIt = std::any_of(specs.begin(), specs.end(),
                                             [](const OptionSpec& s) { return s.name == "--encoding"; });
            if (!takesIt)
                throw UsageError("option --encoding does not apply to " + name);
            if (parsed.has("--encoding"))
                throw UsageError("option --encoding given twice");
            parsed.options["--encoding"] = *encoding;
        }
        std::optional<TextEncoding> encoding = chosenEncoding(parsed);
        return command->run(Context{std::move(parsed), out, err, programDir, std::move(encoding)});
    } catch (const UsageError& e) {
        err << "vaultsmith-cli: " << e.what() << '\n';
        return 2;
    } catch (const DataLoadFailure& failure) {
        err << startupFailureText(failure.error, "\n") << '\n';
        return 1;
    }
}

}  // namespace vs::cli
