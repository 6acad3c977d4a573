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
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>
#include <variant>

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

std::string jsonString(std::string_view text)
{
    const bool utf8 = isUtf8WithHighBytes(text) ||
                      std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte == 0x7F || (!utf8 && byte >= 0x80)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

JsonObject& JsonObject::key(std::string_view name)
{
    if (json_.size() > 1)
        json_ += ", ";
    json_ += jsonString(name);
    json_ += ": ";
    return *this;
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value)
{
    key(name).json_ += jsonString(value);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, int64_t value)
{
    key(name).json_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::optional<int64_t> value)
{
    return value ? number(name, *value) : null(name);
}

JsonObject& JsonObject::null(std::string_view name)
{
    key(name).json_ += "null";
    return *this;
}

JsonObject& JsonObject::raw(std::string_view name, std::string_view json)
{
    key(name).json_ += json;
    return *this;
}

void JsonArray::add(const JsonObject& object)
{
    text_ += empty_ ? "\n  " : ",\n  ";
    text_ += object.str();
    empty_ = false;
}

std::string JsonArray::close()
{
    text_ += empty_ ? "]\n" : "\n]\n";
    return take();
}

InputFile readInputFile(const std::string& file)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return {{}, "no such file"};
    if (ec)
        return {{}, toLowerAscii(ec.message())};
    if (status.type() == std::filesystem::file_type::directory)
        return {{}, "it is a folder"};
    if (status.type() != std::filesystem::file_type::regular)
        return {{}, "not a regular file"};
    // Opened once first, for the system's own reason when it refuses.
    std::FILE* opened = std::fopen(file.c_str(), "rb");
    if (!opened)
        return {{}, toLowerAscii(std::generic_category().message(errno))};
    std::fclose(opened);
    try {
        return {readFileBytes(file), std::nullopt};
    } catch (const VaultError&) {
        return {{}, "read error"};
    }
}

void replaceFile(const Context& ctx, const std::string& target, std::string_view bytes)
{
    if (ctx.args.has("--backup")) {
        // Only a file can be kept; anything else in the way fails the write below.
        try {
            keepBackupCopy(target);
        } catch (const std::system_error& e) {
            throw UsageError("cannot keep " + target + " as " + target + ".bak: " +
                             toLowerAscii(e.code().message()) + "; nothing written");
        }
    }
    try {
        writeFileAtomically(target, bytes);
    } catch (const std::system_error& e) {
        throw UsageError("cannot write " + target + ": " + e.code().message());
    }
}

namespace {

struct ListBytes {
    std::string bytes;
    int editMode = 0;
};

// Why a file cannot be read as a list: a finding's code and its message.
struct ListRefusal {
    std::string code;
    std::string message;
};

// The bytes of a shop or item-bag file and its kind, told from its name, or
// why there are none.
std::variant<ListBytes, ListRefusal> loadListBytes(const std::string& file)
{
    InputFile input = readInputFile(file);
    if (input.failure)
        return ListRefusal{"unreadable", "cannot be read: " + *input.failure};
    const std::optional<int> editMode = editModeForFileName(std::filesystem::path(file).filename().string());
    if (!editMode)
        return ListRefusal{"unknown-kind", "the name tells neither a shop nor an item-bag file"};
    return ListBytes{std::move(input.bytes), *editMode};
}

// The same, with UsageError for a file that cannot be read as a list.
ListBytes readListBytes(const std::string& file)
{
    std::variant<ListBytes, ListRefusal> loaded = loadListBytes(file);
    if (const ListRefusal* refusal = std::get_if<ListRefusal>(&loaded)) {
        std::string message = file + ": " + refusal->message;
        if (refusal->code == "unknown-kind")
            message += " (it holds neither \"shop\" nor \"bag\")";
        throw UsageError(message);
    }
    return std::get<ListBytes>(std::move(loaded));
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

std::variant<OpenedList, Finding> tryOpenList(const std::string& file, const FileLayout* forced)
{
    std::variant<ListBytes, ListRefusal> loaded = loadListBytes(file);
    if (const ListRefusal* refusal = std::get_if<ListRefusal>(&loaded)) {
        Finding finding;
        finding.line = 0;
        finding.severity = Finding::Severity::Error;
        finding.code = refusal->code;
        finding.message = refusal->message;
        return finding;
    }
    ListBytes& list = std::get<ListBytes>(loaded);
    const FileLayout& layout = listLayout(list, forced);
    return OpenedList{readListFile(std::move(list.bytes), layout), layout.editMode, &layout};
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

// The code page names are looked for in: --encoding's, unless the catalog's
// names are UTF-8; none without --encoding.
std::optional<TextEncoding> namesShown(const Context& ctx, const Catalog& catalog)
{
    if (!ctx.encoding)
        return std::nullopt;
    return namesEncoding(catalog, *ctx.encoding);
}

// The bytes of what the user typed, as the catalog's names hold them:
// UsageError naming the word the code page cannot hold.
std::string typedAsNames(const std::string& typed, const std::optional<TextEncoding>& shown, std::string_view what)
{
    if (!shown)
        return typed;
    if (std::optional<size_t> at = shown->firstUnencodable(typed)) {
        const size_t blank = typed.rfind(' ', *at);
        const size_t start = blank == std::string::npos ? 0 : blank + 1;
        throw UsageError(std::string(what) + " '" + typed.substr(start, typed.find(' ', *at) - start) +
                         "' cannot be written in " + shown->label());
    }
    return *shown->encode(typed);
}

std::string_view trimBlanks(std::string_view text)
{
    text = stripLeadingBlanks(text);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A search row as a script reads it: the item, and the level of a named
// subtype (none for the item's own name).
struct FoundItem {
    int classIndex = 0;
    int typeIndex = 0;
    std::optional<int> level;
    std::string name;  // as the catalog holds it
};

FoundItem foundItem(const Catalog& catalog, const SearchRow& row)
{
    const SearchHit hit = decodeSearchRow(row.value);
    FoundItem found{hit.classIndex, hit.typeIndex, hit.level, row.text};
    const clsItemProperty* item = catalog.item(hit.classIndex, hit.typeIndex);
    if (hit.level == 0 && item && item->name == row.text)
        found.level.reset();
    return found;
}

// CLASS<TAB>INDEX<TAB>LEVEL (or -)<TAB>NAME, as search prints a row.
std::string foundItemLine(const FoundItem& found, std::string_view name, char separator)
{
    std::string line = std::to_string(found.classIndex);
    line += separator;
    line += std::to_string(found.typeIndex);
    line += separator;
    line += found.level ? std::to_string(*found.level) : "-";
    line += separator;
    line += name;
    return line;
}

// The item --name names: the one whose whole name it is (any letter case),
// else the one name holding every word of it, as the search box finds them.
// UsageError for none, and for several, listing them.
FoundItem itemByName(const Context& ctx, const Catalog& catalog, const std::string& typed)
{
    const std::optional<TextEncoding> shown = namesShown(ctx, catalog);
    const std::string wanted = typedAsNames(typed, shown, "--name word");
    const SearchQuery query = prepareSearchQuery(wanted);
    if (query.terms.empty())
        throw UsageError("--name is empty");
    int words = 0;  // the words a name must hold; "-word" excludes
    for (int i = 0; i <= query.matchLimit; ++i)
        words += excludeItem(query.terms[static_cast<size_t>(i)]) ? 0 : 1;
    std::vector<FoundItem> whole, holding;
    const std::string wantedLower = toLowerAscii(trimBlanks(wanted));
    for (const SearchRow& row : searchCatalog(catalog, query, false)) {
        FoundItem found = foundItem(catalog, row);
        const auto same = [&](const FoundItem& other) {
            return other.classIndex == found.classIndex && other.typeIndex == found.typeIndex &&
                   other.level.value_or(0) == found.level.value_or(0);
        };
        if (toLowerAscii(row.text) == wantedLower && std::none_of(whole.begin(), whole.end(), same))
            whole.push_back(found);
        if (row.value / 6656 >= words && std::none_of(holding.begin(), holding.end(), same))
            holding.push_back(std::move(found));
    }
    const std::vector<FoundItem>& candidates = whole.empty() ? holding : whole;
    if (candidates.size() == 1)
        return candidates.front();
    const auto show = [&](const std::string& name) { return shown ? shown->decode(name) : name; };
    if (candidates.empty())
        throw UsageError("--name '" + escapeControlBytes(typed) +
                         "': no item or subtype name holds every word of it (see 'vaultsmith-cli search')");
    constexpr size_t kListed = 20;
    std::string message = "--name '" + escapeControlBytes(typed) + "' matches " +
                          std::to_string(candidates.size()) + " items (CLASS INDEX LEVEL NAME); give one of these names whole:";
    for (size_t i = 0; i < std::min(kListed, candidates.size()); ++i)
        message += "\n  " + escapeControlBytes(foundItemLine(candidates[i], show(candidates[i].name), ' '));
    if (candidates.size() > kListed)
        message += "\n  ... and " + std::to_string(candidates.size() - kListed) + " more";
    throw UsageError(message);
}

int runEncode(const Context& ctx)
{
    clsShopCode shop;
    const std::optional<std::string> name = ctx.args.value("--name");
    if (name) {
        expectPositionals(ctx.args, 0, "no arguments with --name");
        const Catalog catalog = ctx.loadCatalog();
        const FoundItem found = itemByName(ctx, catalog, *name);
        const clsItemProperty* item = catalog.item(found.classIndex, found.typeIndex);
        const auto field = [&](const char* option, int64_t lo, int64_t hi, int64_t fallback) {
            const std::optional<std::string> given = ctx.args.value(option);
            return static_cast<int16_t>(given ? parseInteger(*given, option, lo, hi) : fallback);
        };
        shop.classIndex = static_cast<int16_t>(found.classIndex);
        shop.typeIndex = static_cast<int16_t>(found.typeIndex);
        shop.level = field("--level", 0, 12, found.level.value_or(0));
        shop.dur = field("--dur", 0, 255, std::clamp<int64_t>(item ? item->dur : 0, 0, 255));
        shop.skill = field("--skill", 0, 1, 0);
        shop.luck = field("--luck", 0, 1, 0);
        shop.optLevel = field("--option", 0, 4, 0);
        const std::optional<TextEncoding> shown = namesShown(ctx, catalog);
        ctx.err << "--name '" << escapeControlBytes(*name) << "': "
                << escapeControlBytes(foundItemLine(found, shown ? shown->decode(found.name) : found.name, ' '))
                << '\n';
    } else {
        for (const char* option : {"--level", "--dur", "--skill", "--luck", "--option", "--encoding"})
            if (ctx.args.has(option))
                throw UsageError("option " + std::string(option) + " goes with --name only");
        expectPositionals(ctx.args, 7, "CLASS INDEX LEVEL DUR SKILL LUCK OPTION (or --name NAME)");
        const auto& p = ctx.args.positionals;
        shop.classIndex = static_cast<int16_t>(parseInteger(p[0], "CLASS", 0, 15));
        shop.typeIndex = static_cast<int16_t>(parseInteger(p[1], "INDEX", 0, 31));
        shop.level = static_cast<int16_t>(parseInteger(p[2], "LEVEL", 0, 12));
        shop.dur = static_cast<int16_t>(parseInteger(p[3], "DUR", 0, 255));
        shop.skill = static_cast<int16_t>(parseInteger(p[4], "SKILL", 0, 1));
        shop.luck = static_cast<int16_t>(parseInteger(p[5], "LUCK", 0, 1));
        shop.optLevel = static_cast<int16_t>(parseInteger(p[6], "OPTION", 0, 4));
    }

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
    if (ctx.args.has("--json")) {
        std::string excList = "[";
        for (int i = 0; i < kExcellentCount; ++i)
            if (item->excellent[i])
                excList += (excList.size() > 1 ? ", " : "") + std::to_string(i);
        JsonObject object;
        object.number("class", int64_t{item->classIndex})
            .number("index", int64_t{item->typeIndex})
            .number("level", int64_t{item->level})
            .number("dur", int64_t{item->dur})
            .number("skill", int64_t{item->skill})
            .number("luck", int64_t{item->luck})
            .number("option", int64_t{item->optLevel})
            .number("serial", int64_t{item->serial})
            .raw("exc", excList + "]");
        if (name)
            object.text("name", *name);
        else
            object.null("name");
        JsonArray array;
        array.add(object);
        ctx.out << array.close();
        return 0;
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

std::string_view entryKindName(int kind)
{
    switch (kind) {
    case kBlankEntry:
        return "blank";
    case kItemEntry:
        return "item";
    default:
        return "comment";
    }
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
    if (ctx.args.has("--json")) {
        JsonArray array;
        forEachListLine(
            list.bytes, layout,
            [&](ListEntry&& entry) {
                array.add(JsonObject()
                              .number("line", int64_t{entry.origin.line} + 1)
                              .number("kind", int64_t{entry.kind})
                              .text("kindName", entryKindName(entry.kind))
                              .text("text", shown ? shown->decode(entry.text) : entry.text));
                if (array.pending() >= (size_t{1} << 16)) {
                    lines += array.take();
                    flush();
                }
            },
            [](const SourceLine&) {});
        lines += array.close();
        flush();
        return 0;
    }
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
        if (ctx.args.has("--backup"))
            throw UsageError("--backup applies only with -o OUT: without it nothing is replaced");
        writeListStream(list.bytes, layout, style, [&](std::string_view piece) {
            ctx.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        return 0;
    }
    // The file is replaced in one step, so its new bytes are gathered first.
    std::string bytes;
    writeListStream(list.bytes, layout, style, [&](std::string_view piece) { bytes += piece; });
    replaceFile(ctx, *target, bytes);
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
    const bool json = ctx.args.has("--json");
    if (prepareSearchQuery(typed).terms.empty()) {
        ctx.out << (json ? "[]\n" : "");
        return 0;
    }
    const Catalog catalog = ctx.loadCatalog();
    // The terms are typed as UTF-8 and looked for among the names' bytes.
    const std::optional<TextEncoding> shown = namesShown(ctx, catalog);
    const SearchQuery query = prepareSearchQuery(typedAsNames(typed, shown, "search term"));
    JsonArray array;
    for (const SearchRow& row : searchCatalog(catalog, query, ctx.args.has("--words"))) {
        const FoundItem found = foundItem(catalog, row);
        const std::string name = shown ? shown->decode(row.text) : row.text;
        if (json)
            array.add(JsonObject()
                          .number("class", int64_t{found.classIndex})
                          .number("index", int64_t{found.typeIndex})
                          .number("level", found.level ? std::optional<int64_t>(*found.level) : std::nullopt)
                          .text("name", name));
        else
            ctx.out << foundItemLine(found, name, '\t') << '\n';
    }
    if (json)
        ctx.out << array.close();
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
        {"encode",
         {{"--serial", true}, {"--exc", true}, {"--only", true}, {"--name", true}, {"--level", true},
          {"--dur", true}, {"--skill", true}, {"--luck", true}, {"--option", true}, {"--encoding", true}},
         false,
         runEncode},
        {"decode", {{"--encoding", true}, {"--json", false}}, false, runDecode},
        {"entries", {{"--encoding", true}, {"--layout", true}, {"--json", false}}, false, runEntries},
        {"normalize",
         {{"-o", true}, {"--output", true}, {"--tidy", false}, {"--layout", true}, {"--backup", false}},
         false,
         runNormalize},
        {"catalog", {{"--encoding", true}}, false, runCatalog},
        {"search", {{"--words", false}, {"--encoding", true}, {"--json", false}}, true, runSearch},
        {"check", {{"--json", false}, {"--names", false}, {"--layout", true}}, false, runCheck},
        {"grid", {{"--map", false}, {"--layout", true}, {"--json", false}}, false, runGrid},
        {"storage",
         {{"-o", true}, {"--output", true}, {"--inventory", false}, {"--warehouse", false}, {"--account", true},
          {"--character", true}, {"--table", true}, {"--column", true}, {"--json", false}, {"--hex", false},
          {"--backup", false}},
         false,
         runStorage},
        {"db",
         {{"-o", true}, {"--output", true}, {"--account", true}, {"--character", true}, {"--table", true},
          {"--key", true}, {"--column", true}, {"--json", false}, {"--hex", false}, {"--expect", true},
          {"--force", false}, {"--warehouses", false}, {"--inventories", false}},
         false,
         runDatabase},
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
