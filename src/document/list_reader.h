#pragma once

#include "document/list_entry.h"

#include <memory>
#include <string>
#include <string_view>

namespace vs {

// One physical line of a file as read: where its content lies in the bytes,
// the length of its line end (0 for a last line without one) and how many
// entries its records gave.
struct SourceLine {
    size_t begin = 0;
    size_t length = 0;
    uint8_t endLength = 0;
    uint32_t entryCount = 0;
};

// The bytes a list was read from, cut into lines, so that a line whose
// entries are unchanged can be written back exactly as it was.
struct SourceText {
    std::string bytes;
    std::vector<SourceLine> lines;
    std::string lineEnd = "\r\n";  // the line end the file mostly uses

    std::string_view content(const SourceLine& line) const { return {bytes.data() + line.begin, line.length}; }
    std::string_view withEnd(const SourceLine& line) const
    {
        return {bytes.data() + line.begin, line.length + line.endLength};
    }
};

struct ListFile {
    EntryList entries;
    std::shared_ptr<const SourceText> source;
};

// Reads the bytes of a shop file (editMode 0) or an item-bag file (editMode 1)
// into list entries. A line is cut into records at its commas; each record,
// without its leading spaces and tabs, becomes: an item entry when it begins
// with a digit (its fields fitted to the document's count and joined by ",",
// then "," and the comment between the first and a second "//"; the fields
// beyond the count and the text after the second "//" are kept as the entry's
// remainder); a blank entry when empty; and a comment entry, as it stands,
// otherwise. Every entry remembers its line and its place in it.
ListFile readListFile(std::string bytes, int editMode);

// The entry one record gives (its origin left unset).
ListEntry classifyRecord(std::string_view record, int editMode);

// Calls `each(record)` for every comma-separated record of one line's content.
template <typename Each>
void forEachRecord(std::string_view line, Each&& each)
{
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1)
        each(line.substr(start, comma - start));
    each(line.substr(start));
}

}  // namespace vs
