#pragma once

#include <string>
#include <vector>

namespace vs {

// Kind of a list entry, kept with its row.
enum EntryKind : int {
    kBlankEntry = 0,
    kItemEntry = 1,
    kCommentEntry = 2,
};

// One row of the list: its text (bytes, shown and written as they are) and its kind.
struct ListEntry {
    std::string text;
    int kind = kBlankEntry;

    bool operator==(const ListEntry&) const = default;
};

using EntryList = std::vector<ListEntry>;

// Fields of an item entry: 7 in a shop document, 6 in an item-bag document.
inline int itemFieldCount(int editMode)
{
    return 7 - editMode;
}

}  // namespace vs
