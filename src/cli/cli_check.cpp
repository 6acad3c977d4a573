// check and grid: what the server will make of a file.
#include "catalog/text_encoding.h"
#include "catalog/text_utils.h"
#include "codes/display_name.h"
#include "cli/cli_context.h"
#include "check/file_check.h"
#include "grid/shop_grid.h"

#include <algorithm>
#include <variant>

namespace vs::cli {

namespace {

std::string_view fateName(GridItem::Fate fate)
{
    switch (fate) {
    case GridItem::Fate::Placed:
        return "placed";
    case GridItem::Fate::NoRoom:
        return "no-room";
    case GridItem::Fate::UnknownItem:
        return "unknown-item";
    case GridItem::Fate::BadSize:
        return "bad-size";
    case GridItem::Fate::AfterEnd:
        return "after-end";
    }
    return "unknown-item";
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
    // A file that cannot be read, or is of no kind, is a finding of its own;
    // the others are checked all the same.
    std::vector<std::variant<OpenedList, Finding>> opened;
    for (const std::string& file : files)
        opened.push_back(tryOpenList(file, forced));
    const Catalog catalog = ctx.loadCatalog();
    CheckOptions options;
    options.names = ctx.args.has("--names");
    const bool json = ctx.args.has("--json");

    size_t errors = 0, warnings = 0;
    JsonArray array;
    const auto report = [&](const std::string& file, const FileLayout* layout, const Finding& finding) {
        (finding.severity == Finding::Severity::Error ? errors : warnings)++;
        // A file refused before it was read has neither layout nor line.
        const bool refused = layout == nullptr;
        if (json) {
            JsonObject object;
            object.text("file", file);
            if (refused)
                object.null("layout").null("line");
            else
                object.text("layout", layout->name).number("line", int64_t{finding.line});
            array.add(object.text("severity", severityName(finding.severity))
                          .text("code", finding.code)
                          .text("message", finding.message));
            return;
        }
        // A field's text is quoted as the file holds it: its control bytes are shown, not sent.
        ctx.out << escapeControlBytes(file);
        if (!refused)
            ctx.out << ':' << finding.line;
        ctx.out << ": " << severityName(finding.severity) << ": " << escapeControlBytes(finding.message) << " ["
                << finding.code << "]\n";
    };
    for (size_t f = 0; f < files.size(); ++f) {
        if (const Finding* refusal = std::get_if<Finding>(&opened[f])) {
            report(files[f], nullptr, *refusal);
            continue;
        }
        const OpenedList& list = std::get<OpenedList>(opened[f]);
        ctx.err << escapeControlBytes(layoutNote(files[f], *list.layout)) << '\n';
        for (const Finding& finding : checkListFile(list.file, *list.layout, catalog, options))
            report(files[f], list.layout, finding);
    }
    if (json)
        ctx.out << array.close();
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
    const bool json = ctx.args.has("--json");
    if (json && ctx.args.has("--map"))
        throw UsageError("--json and --map exclude each other");
    const Catalog catalog = ctx.loadCatalog();
    const ShopGrid grid = layOutShop(list.file.entries, catalog, *list.layout);
    if (ctx.args.has("--map")) {
        ctx.out << gridMap(grid, catalog, *list.layout);
        return 0;
    }
    if (json) {
        JsonArray array;
        for (const GridItem& item : grid.items) {
            const bool placed = item.x >= 0;
            array.add(JsonObject()
                          .number("line", int64_t{list.file.entries[item.entry].origin.line} + 1)
                          .number("x", placed ? std::optional<int64_t>(item.x) : std::nullopt)
                          .number("y", placed ? std::optional<int64_t>(item.y) : std::nullopt)
                          .number("width", int64_t{item.width})
                          .number("height", int64_t{item.height})
                          .text("name", entryDisplayName(catalog, item.item, list.layout->items.naming))
                          .raw("placed", placed ? "true" : "false")
                          .text("fate", fateName(item.fate)));
        }
        ctx.out << array.close();
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
