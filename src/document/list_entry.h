#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vs {

// Kind of a list entry, kept with its row.
enum EntryKind : int {
    kBlankEntry = 0,
    kItemEntry = 1,
    kCommentEntry = 2,
};

// What an item line holds beyond its entry text: the fields after the
// document's count and the text after a second "//". It travels with the row
// and is written back after the entry's own fields and comment.
struct ItemRemainder {
    std::vector<std::string> fields;
    std::optional<std::string> tail;

    bool empty() const { return fields.empty() && !tail; }
    bool operator==(const ItemRemainder&) const = default;
};

// Where an entry was read from: the file's physical line (0-based) and the
// entry's place among the records of that line. A line of -1: not from the file.
struct EntryOrigin {
    int32_t line = -1;
    int32_t slot = 0;

    bool operator==(const EntryOrigin&) const = default;
};

// One row of the list: its text (bytes, shown and written as they are), its
// kind, what an item line held beyond the text, and where it came from.
struct ListEntry {
    ListEntry() = default;
    ListEntry(std::string text_, int kind_, ItemRemainder rest_ = {}, EntryOrigin origin_ = {})
        : text(std::move(text_)), kind(kind_), rest(std::move(rest_)), origin(origin_)
    {
    }

    std::string text;
    int kind = kBlankEntry;
    ItemRemainder rest;
    EntryOrigin origin;

    // The same content: text, kind and remainder. The origin is not content.
    bool operator==(const ListEntry& other) const
    {
        return text == other.text && kind == other.kind && rest == other.rest;
    }
};

using EntryList = std::vector<ListEntry>;

// Fields of an item entry: 7 in a shop document, 6 in an item-bag document.
inline int itemFieldCount(int editMode)
{
    return 7 - editMode;
}

}  // namespace vs
