#include "check/file_check.h"

#include "catalog/catalog.h"
#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "codes/display_name.h"
#include "document/list_reader.h"
#include "grid/shop_grid.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace vs {

namespace {

enum class NumberForm { Plain, Unusual, None };

// How a field is written: plain decimal digits with an optional sign; a
// fraction, an exponent or &H / &O notation, which servers read differently
// from the editor; or no number at all (also a number followed by other text).
NumberForm numberForm(std::string_view field)
{
    size_t at = 0;
    auto digits = [&](auto isDigit) {
        const size_t start = at;
        while (at < field.size() && isDigit(static_cast<unsigned char>(field[at])))
            ++at;
        return at - start;
    };
    auto decimal = [](unsigned char c) { return std::isdigit(c) != 0; };
    if (field.size() > 2 && field[0] == '&' && (field[1] == 'H' || field[1] == 'h' || field[1] == 'O' || field[1] == 'o')) {
        at = 2;
        const bool hex = field[1] == 'H' || field[1] == 'h';
        digits([&](unsigned char c) { return hex ? std::isxdigit(c) != 0 : (c >= '0' && c <= '7'); });
        return at == field.size() ? NumberForm::Unusual : NumberForm::None;
    }
    if (at < field.size() && (field[at] == '+' || field[at] == '-'))
        ++at;
    size_t mantissa = digits(decimal);
    bool unusual = false;
    if (at < field.size() && field[at] == '.') {
        ++at;
        mantissa += digits(decimal);
        unusual = true;
    }
    if (mantissa == 0)
        return NumberForm::None;
    if (at < field.size() && (field[at] == 'e' || field[at] == 'E')) {
        ++at;
        if (at < field.size() && (field[at] == '+' || field[at] == '-'))
            ++at;
        if (digits(decimal) == 0)
            return NumberForm::None;
        unusual = true;
    }
    if (at != field.size())
        return NumberForm::None;
    return unusual ? NumberForm::Unusual : NumberForm::Plain;
}

std::string quoted(std::string_view text)
{
    std::string result = "\"";
    result.append(text);
    return result += '"';
}

std::string plural(size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// The number of the section whose rows are items, or -1.
int itemsSection(const FileLayout& layout)
{
    for (const SectionRule& rule : layout.sections)
        if (rule.items)
            return rule.number;
    return -1;
}

std::string joined(const std::vector<std::string_view>& words)
{
    std::string text;
    for (std::string_view word : words) {
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}

// Walks a list's entries in file order, following the shop's "end" or the
// sections of a file in sections, and checks each entry where it stands.
class Checker {
public:
    Checker(const Catalog& catalog, const FileLayout& layout, const CheckOptions& options)
        : catalog_(catalog), layout_(layout), options_(options)
    {
    }

    void run(const EntryList& entries, const std::vector<int>& lines)
    {
        SectionTracker sections(layout_);
        int openedLine = 0;  // the line of the number that opened the section the walk is in
        bool itemsOpened = false;
        for (size_t e = 0; e < entries.size(); ++e) {
            if (e % 8192 == 0 && options_.keepGoing && !options_.keepGoing(e)) {
                stopped = true;
                return;
            }
            const ListEntry& entry = entries[e];
            line_ = lines[e];
            const SectionPlace place = sections.place();
            if (entry.kind == kItemEntry) {
                if (place == SectionPlace::Outside)
                    unread();
                else
                    item(entry);
                continue;
            }
            const int section = sections.section();
            switch (sections.step(entry.text)) {
            case SectionMark::Opens:
                openedLine = line_;
                itemsOpened = itemsOpened || sections.place() == SectionPlace::Items;
                if (!layout_.section(sections.section()))
                    error("unknown-section", "section " + std::to_string(sections.section()) +
                                                 " is not one of the sections of layout " + std::string(layout_.name) +
                                                 " (" + sectionNumbers() +
                                                 "); the rows up to its \"end\" are kept but not checked");
                break;
            case SectionMark::Closes:
                endLine_ = line_;
                break;
            case SectionMark::Row:
                if (entry.kind != kCommentEntry)
                    break;
                if (place == SectionPlace::Settings)
                    settingsRow(entry.text, section);
                else
                    comment(entry);
                break;
            }
        }
        if (layout_.sectioned() && sections.place() != SectionPlace::Outside) {
            line_ = openedLine;
            error("section-not-closed", "section " + std::to_string(sections.section()) +
                                            " has no \"end\" before the file ends; the server expects one");
        }
        if (layout_.sectioned() && !itemsOpened && !entries.empty()) {
            line_ = lines.front();
            error("no-items-section", "the file has no section of items (section " + itemSectionNumbers() +
                                          "); the server gives nothing from it");
        }
    }

    std::string itemSectionNumbers() const
    {
        std::string numbers;
        for (const SectionRule& rule : layout_.sections)
            if (rule.items)
                numbers += (numbers.empty() ? "" : ", ") + std::to_string(rule.number);
        return numbers;
    }

    void notPlaced(const GridItem& placed, int line)
    {
        line_ = line;
        const std::string name = entryDisplayName(catalog_, placed.item, layout_.items.naming);
        if (placed.fate == GridItem::Fate::NoRoom)
            error("not-sold", name + " (" + std::to_string(placed.width) + " x " + std::to_string(placed.height) +
                                  ") does not fit the shop's 8 x 15 grid and is not sold");
        else if (placed.fate == GridItem::Fate::BadSize)
            error("bad-size", name + " is " + std::to_string(placed.width) + " x " + std::to_string(placed.height) +
                                  " in the catalog; a shop item is 1 to 8 wide and 1 to 15 high, so it takes no place");
    }

    std::vector<Finding> findings;
    bool stopped = false;  // keepGoing said no before the last entry

private:
    void comment(const ListEntry& entry)
    {
        if (entry.text.find("//") == std::string::npos && !readsEnd(entry.text))
            warn("stray-text", "neither an item nor a // comment: " + quoted(entry.text) +
                                   " (kept as it is; the server does not read it as an item)");
    }

    // A row of a section of settings: as many values as the section has columns.
    void settingsRow(std::string_view text, int section)
    {
        const SectionRule* rule = layout_.section(section);
        if (!rule || text.substr(0, 2) == "//")
            return;
        size_t count = 0;
        forEachToken(text.substr(0, text.find("//")), [&](std::string_view) { ++count; });
        if (count == rule->columns.size())
            return;
        error("settings-columns", "a row of section " + std::to_string(section) + " holds " +
                                      plural(rule->columns.size(), "value") + " (" + joined(rule->columns) +
                                      "), this one has " + std::to_string(count) + opensHint(loneNumber(text)));
    }

    // For a lone number inside a section: what it would mean outside one.
    std::string opensHint(std::optional<int> number) const
    {
        if (!number || !layout_.section(*number))
            return {};
        return "; a number inside a section is one of its rows: if it is meant to open section " +
               std::to_string(*number) + ", the section before it lacks its \"end\"";
    }

    // An item where the server reads none: after the shop's or a section's "end", or before any section.
    void unread()
    {
        const std::string at = "line " + std::to_string(endLine_) + "'s \"end\"";
        if (!layout_.sectioned())
            error("after-end", "the server stops reading the shop at " + at + "; this item is never sold");
        else if (endLine_ > 0)
            error("after-end", "the server stops reading items at " + at + "; this item stands outside section " +
                                   std::to_string(itemsSection(layout_)) + " and is never read");
        else
            error("outside-section", "this item stands before any section; the server reads items only in section " +
                                         std::to_string(itemsSection(layout_)) + " and never reads it");
    }

    void item(const ListEntry& entry)
    {
        const std::vector<ItemColumn>& columns = layout_.items.columns;
        const size_t n = columns.size();
        const std::vector<std::string_view> pieces = entryPieces(entry.text);
        const size_t given = std::min(n, pieces.size());
        size_t present = 0;
        bool numbersValid = true;  // the class and index name an item to look for
        for (size_t i = 0; i < n; ++i) {
            const bool here = i < given && !pieces[i].empty();
            present += here;
            if (!here && (columns[i].role == ColumnRole::Class || columns[i].role == ColumnRole::Index))
                numbersValid = false;
        }
        if (present < n) {
            std::optional<int> number;
            if (present == 1 && !pieces[0].empty() && pieces.size() == n)
                number = layout_.sectioned() ? loneNumber(pieces[0]) : std::nullopt;
            error("missing-fields", "an item line needs " + std::to_string(n) + " fields, this one has " +
                                        std::to_string(present) + opensHint(number));
        }
        if (const size_t extra = entry.rest.fields.size(); extra > 0)
            error("extra-fields", "the line has " + plural(extra, "more column") + " than the " + std::to_string(n) +
                                      " of layout " + std::string(layout_.name) + " (" + layout_.columnNames() +
                                      "); the server reads " + (extra == 1 ? "it" : "them") +
                                      " as the next item's columns");
        std::optional<double> lowest, highest;
        for (size_t i = 0; i < given; ++i) {
            const std::string_view field = pieces[i];
            if (field.empty())
                continue;
            const ItemColumn& column = columns[i];
            const std::string what = "field " + std::to_string(i + 1) + " (" + std::string(column.what) + ")";
            const NumberForm form = numberForm(field);
            if (form == NumberForm::None) {
                error("not-a-number", what + " is not a number: " + quoted(field));
                numbersValid = false;
                continue;
            }
            if (form == NumberForm::Unusual)
                warn("number-notation", what + " is written " + quoted(field) +
                                            "; servers read fractions, exponents and &H / &O numbers differently "
                                            "from the editor");
            const double value = roundHalfEven(tokenValue(field));
            if (column.role == ColumnRole::Level)
                lowest = value;
            else if (column.role == ColumnRole::MaxLevel)
                highest = value;
            if (value < column.low || value > column.high) {
                error("out-of-range", what + " is " + formatNumber(value) + ", outside " + std::to_string(column.low) +
                                          ".." + std::to_string(column.high));
                if (column.role == ColumnRole::Class || column.role == ColumnRole::Index)
                    numbersValid = false;
            } else if ((column.role == ColumnRole::Level || column.role == ColumnRole::MaxLevel) &&
                       value > column.editorHigh) {
                warn("level-shown-as-12", std::string(column.what) + " " + formatNumber(value) + " shows as " +
                                              std::to_string(column.editorHigh) + " in the editor");
            }
        }
        if (lowest && highest && *lowest > *highest)
            error("level-range", "the lowest level " + formatNumber(*lowest) + " is above the highest level " +
                                     formatNumber(*highest));
        const EntryItem read = readEntryItem(entry.text, layout_.items);
        if (numbersValid && !catalog_.itemExist(read.classIndex, read.typeIndex)) {
            error("unknown-item", "the catalog has no item " + std::to_string(read.typeIndex) + " in class " +
                                      std::to_string(read.classIndex));
            return;
        }
        if (options_.names && numbersValid && pieces.size() > n) {
            const std::string name = entryDisplayName(catalog_, read, layout_.items.naming);
            if (pieces[n].find(name) == std::string_view::npos)
                warn("comment-not-name", "the comment " + quoted(pieces[n]) + " does not hold the name " +
                                             quoted(name) + " that the fields describe");
        }
    }

    std::string sectionNumbers() const
    {
        std::string numbers;
        for (const SectionRule& rule : layout_.sections)
            numbers += (numbers.empty() ? "" : ", ") + std::to_string(rule.number);
        return numbers;
    }

    void error(const char* code, std::string message) { add(Finding::Severity::Error, code, std::move(message)); }
    void warn(const char* code, std::string message) { add(Finding::Severity::Warning, code, std::move(message)); }
    void add(Finding::Severity severity, const char* code, std::string message)
    {
        findings.push_back({line_, severity, code, std::move(message)});
    }

    const Catalog& catalog_;
    const FileLayout& layout_;
    CheckOptions options_;
    int line_ = 0;
    int endLine_ = 0;  // the line of the last "end" that closed the shop or a section
};

}  // namespace

std::optional<Finding> notTextFinding(std::string_view bytes)
{
    const std::string reason = notTextReason(bytes);
    if (reason.empty())
        return std::nullopt;
    return Finding{1, Finding::Severity::Error, "not-text",
                   "not a text file: " + reason + "; its bytes are kept as they are, and nothing in it is checked"};
}

std::vector<Finding> checkEntries(const EntryList& entries, const std::vector<int>& lines, const FileLayout& layout,
                                  const Catalog& catalog, const CheckOptions& options)
{
    Checker checker(catalog, layout, options);
    checker.run(entries, lines);
    // An item after the shop's "end" was reported by the walk; the grid leaves it out.
    if (layout.editMode == kShopDocument && !checker.stopped)
        for (const GridItem& placed : layOutShop(entries, catalog, layout).items)
            checker.notPlaced(placed, lines[placed.entry]);
    std::stable_sort(checker.findings.begin(), checker.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(checker.findings);
}

std::vector<Finding> checkFile(std::string bytes, const FileLayout& layout, const Catalog& catalog,
                               const CheckOptions& options)
{
    if (std::optional<Finding> finding = notTextFinding(bytes))
        return {std::move(*finding)};
    return checkListFile(readListFile(std::move(bytes), layout), layout, catalog, options);
}

std::vector<Finding> checkListFile(const ListFile& file, const FileLayout& layout, const Catalog& catalog,
                                   const CheckOptions& options)
{
    if (file.source)
        if (std::optional<Finding> finding = notTextFinding(file.source->bytes))
            return {std::move(*finding)};
    std::vector<int> lines;
    lines.reserve(file.entries.size());
    for (const ListEntry& entry : file.entries)
        lines.push_back(entry.origin.line + 1);
    return checkEntries(file.entries, lines, layout, catalog, options);
}

std::string_view severityName(Finding::Severity severity)
{
    return severity == Finding::Severity::Error ? "error" : "warning";
}

}  // namespace vs
