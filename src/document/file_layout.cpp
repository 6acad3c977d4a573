#include "document/file_layout.h"

#include "catalog/text_utils.h"
#include "document/list_reader.h"

#include <algorithm>
#include <map>

namespace vs {

namespace {

using R = ColumnRole;

constexpr ItemColumn kClass{R::Class, "Type", "class", 0, 15, 15};
constexpr ItemColumn kIndex{R::Index, "Index", "index", 0, 31, 31};
constexpr ItemColumn kLevel{R::Level, "Level", "level", 0, 15, 12};
constexpr ItemColumn kDur{R::Durability, "Durab", "durability", 0, 255, 255};
constexpr ItemColumn kSkill{R::Skill, "Skill", "skill", 0, 1, 1};
constexpr ItemColumn kLuck{R::Luck, "Luck", "luck", 0, 1, 1};
constexpr ItemColumn kOption{R::Option, "Option", "option", 0, 4, 4};

std::vector<FileLayout> makeLayouts()
{
    std::vector<FileLayout> layouts;
    layouts.push_back({LayoutId::Shop7, "shop-7", "shop, 7 columns", 0,
                       {{kClass, kIndex, kLevel, kDur, kSkill, kLuck, kOption}, kShopNames}, {}});
    layouts.push_back({LayoutId::Bag6, "bag-6", "item bag, 6 columns", 1,
                       {{kClass, kIndex, kLevel, kSkill, {R::Luck, "Exc", "excellent", 0, 1, 1},
                         {R::Option, "AddOption", "option", 0, 4, 4}},
                        kBagNames},
                       {}});
    layouts.push_back({LayoutId::Shop8, "shop-8", "shop, 8 columns", 0,
                       {{kClass, kIndex, kLevel, kDur, kSkill, kLuck, kOption,
                         {R::Excellent, "EXC", "excellent options", 0, 63, 63}},
                        kVaultNames},
                       {},
                       '\t'});
    // Real files hold four values on each drop-place row (the map, then the
    // drop flag and the monster levels), whatever their heading names.
    layouts.push_back({LayoutId::BagSections, "bag-sections", "item bag in sections", 1,
                       {{kClass, kIndex, {R::Level, "MinLevel", "lowest level", 0, 15, 12},
                         {R::MaxLevel, "MaxLevel", "highest level", 0, 15, 12}, kSkill, kLuck,
                         {R::Option, "AddOption", "option", 0, 4, 4},
                         {R::ExcellentFlag, "Exitemflag", "excellent flag", 0, 1, 1}},
                        kVaultNames},
                       {{0, false, {"MapIndex", "DropFlag", "MinMonsterLevel", "MaxMonsterLevel"}},
                        {1, false,
                         {"EventName", "DropZen", "EventItemType", "EventItemIndex", "EventItemLevel",
                          "EventItemDropRate", "ItemDropRate", "ExItemDropRate"}},
                        {2, true, {}}},
                       '\t'});
    return layouts;
}

// The item lines' column counts and the sections of a file, in one pass.
struct FileTally {
    std::map<size_t, size_t> columnCounts;  // columns -> item lines
    bool sectionOpened = false;             // a line holding only a number ...
    bool sectionClosed = false;             // ... and a later "end"
    std::optional<size_t> headingColumns;   // the column names of a heading comment
    bool headingNamesExc = false;
};

bool isColumnName(std::string_view word)
{
    static const char* const kNames[] = {"type", "index", "level", "durab", "dur", "durability", "skill",
                                         "luck", "option", "exc", "addoption", "minlevel", "maxlevel",
                                         "exitemflag"};
    const std::string lower = toLowerAscii(word);
    return std::any_of(std::begin(kNames), std::end(kNames), [&](const char* name) { return lower == name; });
}

void tallyHeading(std::string_view comment, FileTally& tally)
{
    size_t words = 0;
    bool allNames = true;
    bool exc = false;
    forEachToken(comment, [&](std::string_view word) {
        ++words;
        allNames = allNames && isColumnName(word);
        exc = exc || toLowerAscii(word) == "exc";
    });
    if (words >= 6 && allNames && !tally.headingColumns) {
        tally.headingColumns = words;
        tally.headingNamesExc = exc;
    }
}

FileTally tallyFile(std::string_view bytes)
{
    FileTally tally;
    forEachSourceLine(bytes, [&](const SourceLine& line) {
        forEachRecord(bytes.substr(line.begin, line.length), [&](std::string_view record) {
            record = stripLeadingBlanks(record);
            if (record.empty())
                return;
            if (record.substr(0, 2) == "//") {
                tallyHeading(record.substr(record.find_first_not_of('/')  == std::string_view::npos
                                               ? record.size()
                                               : record.find_first_not_of('/')),
                             tally);
                return;
            }
            if (loneNumber(record)) {
                tally.sectionOpened = true;
                return;
            }
            if (tally.sectionOpened && readsEnd(record))
                tally.sectionClosed = true;
            if (!isDecimalDigit(record.front()))
                return;
            size_t columns = 0;
            forEachToken(record.substr(0, record.find("//")), [&](std::string_view) { ++columns; });
            ++tally.columnCounts[columns];
        });
    });
    return tally;
}

}  // namespace

const std::vector<FileLayout>& builtInLayouts()
{
    static const std::vector<FileLayout> layouts = makeLayouts();
    return layouts;
}

const FileLayout& layoutFor(LayoutId id)
{
    for (const FileLayout& layout : builtInLayouts())
        if (layout.id == id)
            return layout;
    return builtInLayouts().front();
}

const FileLayout& specLayout(int editMode)
{
    return layoutFor(editMode == 1 ? LayoutId::Bag6 : LayoutId::Shop7);
}

const FileLayout* layoutByName(std::string_view name)
{
    for (const FileLayout& layout : builtInLayouts())
        if (layout.name == name)
            return &layout;
    return nullptr;
}

std::string layoutNames()
{
    std::string names;
    for (const FileLayout& layout : builtInLayouts()) {
        if (!names.empty())
            names += ", ";
        names += layout.name;
    }
    return names;
}

const SectionRule* FileLayout::section(int number) const
{
    for (const SectionRule& rule : sections)
        if (rule.number == number)
            return &rule;
    return nullptr;
}

std::string FileLayout::columnNames() const
{
    std::string names;
    for (const ItemColumn& column : items.columns) {
        if (!names.empty())
            names += ' ';
        names += column.name;
    }
    return names;
}

const FileLayout& detectLayout(std::string_view bytes, int editMode, const FileLayout* fallback)
{
    const FileTally tally = tallyFile(bytes);
    if (editMode == 1 && tally.sectionOpened && tally.sectionClosed)
        return layoutFor(LayoutId::BagSections);
    // The layouts of the kind without sections, by their column count.
    auto byCount = [&](size_t columns) -> const FileLayout* {
        for (const FileLayout& layout : builtInLayouts())
            if (layout.editMode == editMode && !layout.sectioned() && layout.items.count() == columns)
                return &layout;
        return nullptr;
    };
    if (!tally.columnCounts.empty()) {
        // The count most item lines have that a layout has.
        const FileLayout* best = nullptr;
        size_t bestLines = 0;
        // Of counts equally common, the heading's wins.
        for (const auto& [columns, lines] : tally.columnCounts)
            if (const FileLayout* layout = byCount(columns);
                layout && (lines > bestLines || (lines == bestLines && tally.headingColumns == columns))) {
                best = layout;
                bestLines = lines;
            }
        if (best)
            return *best;
    } else if (tally.headingColumns) {
        if (const FileLayout* layout = byCount(*tally.headingColumns))
            return *layout;
    }
    if (fallback && fallback->editMode == editMode)
        return *fallback;
    return specLayout(editMode);
}

SectionMark SectionTracker::step(std::string_view record)
{
    if (!layout_->sectioned()) {
        // A shop ends at its "end"; what follows it the server never reads.
        if (layout_->editMode == 0 && readsEnd(record)) {
            place_ = SectionPlace::Outside;
            return SectionMark::Closes;
        }
        return SectionMark::Row;
    }
    if (place_ == SectionPlace::Outside) {
        if (const std::optional<int> number = loneNumber(record)) {
            const SectionRule* rule = layout_->section(*number);
            section_ = *number;
            place_ = rule && rule->items ? SectionPlace::Items : SectionPlace::Settings;
            return SectionMark::Opens;
        }
        return SectionMark::Row;
    }
    if (readsEnd(record)) {
        place_ = SectionPlace::Outside;
        section_ = -1;
        return SectionMark::Closes;
    }
    return SectionMark::Row;
}

bool readsEnd(std::string_view text)
{
    text = stripLeadingBlanks(text);
    const size_t last = text.find_last_not_of(" \t");
    text = last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
    return text.size() == 3 && toLowerAscii(text) == "end";
}

std::optional<int> loneNumber(std::string_view record)
{
    record = stripLeadingBlanks(record);
    const size_t last = record.find_last_not_of(" \t");
    record = last == std::string_view::npos ? std::string_view() : record.substr(0, last + 1);
    if (record.empty() || record.size() > 6)
        return std::nullopt;
    int value = 0;
    for (char c : record) {
        if (!isDecimalDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace vs
