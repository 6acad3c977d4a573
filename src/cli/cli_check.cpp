// check and grid: what the server will make of a file.
#include "catalog/text_encoding.h"
#include "catalog/text_utils.h"
#include "codes/display_name.h"
#include "cli/cli_context.h"
#include "document/file_check.h"
#include "document/shop_grid.h"

#include <algorithm>
#include <cstdio>

namespace vs::cli {

namespace {

// A JSON string. Text that is not UTF-8 is taken byte for byte as Latin-1.
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
        } else if (byte < 0x20 || (!utf8 && byte >= 0x80)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string plural(size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

int runCheck(const Context& ctx)
{
    const auto& files = ctx.args.positionals;
    if (files.empty())
        throw UsageError("missing argument: expected FILE...");
    const FileLayout* forced = chosenLayout(ctx.args);
    std::vector<OpenedList> lists;
    for (const std::string& file : files)
        lists.push_back(openList(file, forced));
    const Catalog catalog = ctx.loadCatalog();
    CheckOptions options;
    options.names = ctx.args.has("--names");
    const bool json = ctx.args.has("--json");

    size_t errors = 0, warnings = 0;
    bool first = true;
    if (json)
        ctx.out << "[";
    for (size_t f = 0; f < files.size(); ++f) {
        ctx.err << layoutNote(files[f], *lists[f].layout) << '\n';
        for (const Finding& finding : checkListFile(lists[f].file, *lists[f].layout, catalog, options)) {
            (finding.severity == Finding::Severity::Error ? errors : warnings)++;
            if (json) {
                ctx.out << (first ? "\n" : ",\n") << "  {\"file\": " << jsonString(files[f])
                        << ", \"layout\": " << jsonString(lists[f].layout->name) << ", \"line\": " << finding.line
                        << ", \"severity\": \"" << severityName(finding.severity) << "\", \"code\": \""
                        << finding.code << "\", \"message\": " << jsonString(finding.message) << "}";
                first = false;
            } else {
                // A field's text is quoted as the file holds it: its control bytes are shown, not sent.
                ctx.out << escapeControlBytes(files[f]) << ':' << finding.line << ": "
                        << severityName(finding.severity) << ": " << escapeControlBytes(finding.message) << " ["
                        << finding.code << "]\n";
            }
        }
    }
    if (json)
        ctx.out << (first ? "]\n" : "\n]\n");
    ctx.err << plural(errors, "error") << ", " << plural(warnings, "warning") << " in " << plural(files.size(), "file")
            << '\n';
    return errors > 0 ? 3 : 0;
}

int runGrid(const Context& ctx)
{
    expectPositionals(ctx.args, 1, "FILE");
    const std::string& file = ctx.args.positionals[0];
    const OpenedList list = openList(file, chosenLayout(ctx.args));
    if (list.editMode != kShopDocument)
        throw UsageError(file + " is an item-bag file; item-bag files have no shop grid");
    const Catalog catalog = ctx.loadCatalog();
    const ShopGrid grid = layOutShop(list.file.entries, catalog, *list.layout);
    if (ctx.args.has("--map")) {
        ctx.out << gridMap(grid, catalog, *list.layout);
        return 0;
    }
    for (const GridItem& item : grid.items) {
        ctx.out << list.file.entries[item.entry].origin.line + 1 << '\t';
        if (item.x >= 0)
            ctx.out << item.x << '\t' << item.y;
        else
            ctx.out << "-\t-";
        ctx.out << '\t' << item.width << '\t' << item.height << '\t'
                << entryDisplayName(catalog, item.item, list.layout->items.naming) << '\n';
    }
    return 0;
}

}  // namespace vs::cli
