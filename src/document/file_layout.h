#pragma once

#include "codes/item_columns.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// The layouts built in. The first two are the ones a new document uses.
enum class LayoutId {
    Shop7,        // Type Index Level Durab Skill Luck Option
    Bag6,         // Type Index Level Skill Luck(Excellent) AddOption
    Shop8,        // Type Index Level Durab Skill Luck Option EXC
    BagSections,  // sections 0 (drop places), 1 (the event) and 2 (the items), each closed by "end"
};

// A section of a sectioned file: its number, whether its rows are items, and
// the names of the columns of its settings rows.
struct SectionRule {
    int number;
    bool items;
    std::vector<std::string_view> columns;
};

// What a file's lines hold: the columns of its item lines and, for a file in
// sections, its sections.
struct FileLayout {
    LayoutId id;
    std::string_view name;   // for the command line: "shop-8"
    std::string_view label;  // for people: "shop, 8 columns"
    int editMode;            // the document kind: 0 shop, 1 item bag
    ItemLayout items;
    std::vector<SectionRule> sections;  // empty: the file has no sections
    char separator = ' ';               // between the columns of a line the program writes

    bool sectioned() const { return !sections.empty(); }
    const SectionRule* section(int number) const;
    // The item columns' names, blank-separated.
    std::string columnNames() const;
};

const std::vector<FileLayout>& builtInLayouts();
const FileLayout& layoutFor(LayoutId id);
// The layout a new document of a kind starts in: shop, 7 columns; item bag, 6 columns.
const FileLayout& specLayout(int editMode);
const FileLayout* layoutByName(std::string_view name);
// The names, in the order of builtInLayouts: "shop-7, bag-6, shop-8, bag-sections"
std::string layoutNames();

// The layout of a file of the kind `editMode`, told from its bytes: sections
// (a line holding only a section number, later an "end") make a sectioned item
// bag; otherwise the column count most item lines have, or failing any item
// line a heading comment that names the columns, chooses among the layouts of
// the kind. A file that tells nothing gets `fallback` (when of the kind) or the
// kind's first layout (specLayout).
const FileLayout& detectLayout(std::string_view bytes, int editMode, const FileLayout* fallback = nullptr);

// Where a record stands in a file in sections.
enum class SectionPlace : uint8_t {
    Outside,   // before the first section or after a section's "end"
    Settings,  // inside a section whose rows are settings
    Items,     // inside the section of items
};

// What a record is to the sections: a section's number opening it, the "end"
// closing it, or a row (of a section or outside any).
enum class SectionMark : uint8_t { Row, Opens, Closes };

// Follows the sections of a file record by record (or entry by entry). In a
// layout without sections every record stands Outside.
class SectionTracker {
public:
    // From the top of a file: a file in sections starts outside any, a shop or
    // item bag without sections inside its one list of items.
    explicit SectionTracker(const FileLayout& layout)
        : layout_(&layout), place_(layout.sectioned() ? SectionPlace::Outside : SectionPlace::Items)
    {
    }
    SectionTracker(const FileLayout& layout, SectionPlace start) : layout_(&layout), place_(start) {}

    // What the record is; the place it stands in is place() before the call.
    // An opening number or a closing "end" moves the place for the records after it.
    SectionMark step(std::string_view record);
    SectionPlace place() const { return place_; }
    // The number of the section the tracker is in (-1 outside).
    int section() const { return section_; }

private:
    const FileLayout* layout_;
    SectionPlace place_;
    int section_ = -1;
};

// "end", in any case, with blanks around it.
bool readsEnd(std::string_view text);

// The whole number a record holds when it holds only that (and blanks).
std::optional<int> loneNumber(std::string_view record);

}  // namespace vs
