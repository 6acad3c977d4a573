#include "document/file_check.h"

#include "catalog/catalog.h"
#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "codes/display_name.h"
#include "document/list_reader.h"
#include "document/shop_grid.h"

#include <algorithm>
#include <cctype>

namespace vs {

namespace {

struct FieldRule {
    const char* name;
    int low;
    int high;
};

const FieldRule kShopFields[] = {{"class", 0, 15}, {"index", 0, 31}, {"level", 0, 15}, {"durability", 0, 255},
                                 {"skill", 0, 1},  {"luck", 0, 1},   {"option", 0, 4}};
const FieldRule kBagFields[] = {{"class", 0, 15}, {"index", 0, 31}, {"level", 0, 15},
                                {"skill", 0, 1},  {"excellent", 0, 1}, {"option", 0, 4}};

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

class Checker {
public:
    Checker(const Catalog& catalog, int editMode, const CheckOptions& options)
        : catalog_(catalog), editMode_(editMode), options_(options)
    {
    }

    void entry(const ListEntry& entry, int line)
    {
        line_ = line;
        if (entry.kind == kCommentEntry && entry.text.find("//") == std::string::npos && !readsEnd(entry.text))
            warn("stray-text", "neither an item nor a // comment: " + quoted(entry.text) +
                                   " (kept as it is; the server does not read it as an item)");
        if (entry.kind == kItemEntry)
            item(entry);
    }

    void notPlaced(const GridItem& placed, int line)
    {
        line_ = line;
        const std::string name = entryDisplayName(catalog_, placed.item, kShopDocument);
        if (placed.fate == GridItem::Fate::NoRoom)
            error("not-sold", name + " (" + std::to_string(placed.width) + " x " + std::to_string(placed.height) +
                                  ") does not fit the shop's 8 x 15 grid and is not sold");
        else if (placed.fate == GridItem::Fate::BadSize)
            error("bad-size", name + " is " + std::to_string(placed.width) + " x " + std::to_string(placed.height) +
                                  " in the catalog; a shop item is 1 to 8 wide and 1 to 15 high, so it takes no place");
    }

    std::vector<Finding> findings;

private:
    void item(const ListEntry& entry)
    {
        const FieldRule* rules = editMode_ == kShopDocument ? kShopFields : kBagFields;
        const size_t n = static_cast<size_t>(itemFieldCount(editMode_));
        std::vector<std::string> pieces;
        forEachRecord(entry.text, [&](std::string_view piece) { pieces.emplace_back(piece); });
        size_t present = 0;
        for (size_t i = 0; i < std::min(n, pieces.size()); ++i)
            present += !pieces[i].empty();
        if (present < n)
            error("missing-fields", "an item line needs " + std::to_string(n) + " fields, this one has " +
                                        std::to_string(present));
        bool numbersValid = true;
        for (size_t i = 0; i < std::min(n, pieces.size()); ++i) {
            const std::string& field = pieces[i];
            if (field.empty())
                continue;
            const std::string what = "field " + std::to_string(i + 1) + " (" + rules[i].name + ")";
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
            if (value < rules[i].low || value > rules[i].high) {
                error("out-of-range", what + " is " + formatNumber(value) + ", outside " +
                                          std::to_string(rules[i].low) + ".." + std::to_string(rules[i].high));
                numbersValid = numbersValid && i > 1;
            } else if (i == 2 && value > 12) {
                warn("level-shown-as-12", "level " + formatNumber(value) + " shows as 12 in the editor");
            }
        }
        if (!entry.rest.fields.empty())
            warn("extra-fields", std::to_string(entry.rest.fields.size()) + " more field" +
                                     (entry.rest.fields.size() == 1 ? "" : "s") + " than the " + std::to_string(n) +
                                     " an item line holds; Save keeps them, the editor neither shows nor checks them");
        const EntryItem read = readEntryItem(entry.text, editMode_);
        if (numbersValid && !catalog_.itemExist(read.classIndex, read.typeIndex)) {
            error("unknown-item", "the catalog has no item " + std::to_string(read.typeIndex) + " in class " +
                                      std::to_string(read.classIndex));
            return;
        }
        if (options_.names && numbersValid && pieces.size() > n) {
            const std::string name = entryDisplayName(catalog_, read, editMode_);
            if (pieces[n].find(name) == std::string::npos)
                warn("comment-not-name", "the comment " + quoted(pieces[n]) + " does not hold the name " +
                                             quoted(name) + " that the fields describe");
        }
    }

    void error(const char* code, std::string message) { add(Finding::Severity::Error, code, std::move(message)); }
    void warn(const char* code, std::string message) { add(Finding::Severity::Warning, code, std::move(message)); }
    void add(Finding::Severity severity, const char* code, std::string message)
    {
        findings.push_back({line_, severity, code, std::move(message)});
    }

    const Catalog& catalog_;
    int editMode_;
    CheckOptions options_;
    int line_ = 0;
};

}  // namespace

std::vector<Finding> checkEntries(const EntryList& entries, const std::vector<int>& lines, const FileLayout& layout,
                                  const Catalog& catalog, const CheckOptions& options)
{
    const int editMode = layout.editMode;
    Checker checker(catalog, editMode, options);
    for (size_t e = 0; e < entries.size(); ++e)
        checker.entry(entries[e], lines[e]);
    if (editMode == kShopDocument)
        for (const GridItem& placed : layOutShop(entries, catalog).items)
            checker.notPlaced(placed, lines[placed.entry]);
    std::stable_sort(checker.findings.begin(), checker.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(checker.findings);
}

std::vector<Finding> checkFile(std::string bytes, const FileLayout& layout, const Catalog& catalog,
                               const CheckOptions& options)
{
    return checkListFile(readListFile(std::move(bytes), layout), layout, catalog, options);
}

std::vector<Finding> checkListFile(const ListFile& file, const FileLayout& layout, const Catalog& catalog,
                                   const CheckOptions& options)
{
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
