#pragma once

#include "document/file_layout.h"
#include "document/list_entry.h"

#include <algorithm>
#include <cstring>
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
    SectionPlace place = SectionPlace::Items;  // where the line's first record stands
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

// Calls `each(line)` for every physical line of the bytes, first to last (its
// entryCount left 0). CRLF, LF and a lone CR each end a line; a last line
// without a line end is a line, a line end at the very end adds none.
template <typename Each>
void forEachSourceLine(std::string_view bytes, Each&& each);

// Counts the line ends of a file's lines and tells the one it mostly uses.
class LineEndTally {
public:
    void add(std::string_view bytes, const SourceLine& line);
    // CRLF, LF or CR, whichever ends most lines (in that order of preference
    // when counts are equal); CRLF when no line has an end.
    std::string mostUsed() const;

private:
    size_t counts_[3] = {};  // CRLF, LF, CR
};

// Reads the bytes of a file in the layout into list entries. A line is cut into
// records at its commas; each record, without its leading spaces and tabs,
// becomes: an item entry when it begins with a digit (its fields fitted to the
// layout's column count and joined by ",", then "," and the comment between
// the first and a second "//"; the fields beyond the count and the text after
// the second "//" are kept as the entry's remainder); a blank entry when
// empty; and a comment entry, as it stands, otherwise. In a file in sections
// a section's number, its "end" and the rows of a settings section are comment
// entries too. Every entry remembers its line and its place in it.
ListFile readListFile(std::string bytes, const FileLayout& layout);
// The same in the first layout of a shop (editMode 0) or an item bag (1).
inline ListFile readListFile(std::string bytes, int editMode)
{
    return readListFile(std::move(bytes), specLayout(editMode));
}

// The entries readListFile gives, one at a time and without keeping any:
// `eachEntry(ListEntry&&)` for every entry, with its origin set, and after a
// line's entries `eachLine(const SourceLine&)` with its entryCount.
template <typename EachEntry, typename EachLine>
void forEachListLine(std::string_view bytes, const FileLayout& layout, EachEntry&& eachEntry, EachLine&& eachLine);

// The kind of entry a record gives (see readListFile).
int recordKind(std::string_view record);

// The entry one record standing at `place` gives (its origin left unset).
ListEntry classifyRecord(std::string_view record, const FileLayout& layout, SectionPlace place);
inline ListEntry classifyRecord(std::string_view record, int editMode)
{
    return classifyRecord(record, specLayout(editMode), SectionPlace::Items);
}

// The entries of one line's content whose first record stands at `place`,
// each given to `each(entry, slot)`; returns the place after the line.
template <typename Each>
SectionPlace forEachLineEntry(std::string_view content, const FileLayout& layout, SectionPlace place, Each&& each);

// Calls `each(record)` for every comma-separated record of one line's content.
template <typename Each>
void forEachRecord(std::string_view line, Each&& each)
{
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1)
        each(line.substr(start, comma - start));
    each(line.substr(start));
}

template <typename Each>
void forEachSourceLine(std::string_view bytes, Each&& each)
{
    const char* const data = bytes.data();
    const size_t size = bytes.size();
    // The next LF and the next CR at or after a place, or the size; each is
    // looked for again only once the lines have passed it.
    auto next = [&](char c, size_t from) {
        if (from >= size)
            return size;
        const void* at = std::memchr(data + from, c, size - from);
        return at ? static_cast<size_t>(static_cast<const char*>(at) - data) : size;
    };
    size_t lf = next('\n', 0);
    size_t cr = next('\r', 0);
    size_t begin = 0;
    while (begin < size) {
        if (lf < begin)
            lf = next('\n', begin);
        if (cr < begin)
            cr = next('\r', begin);
        const size_t end = std::min(lf, cr);
        SourceLine line;
        line.begin = begin;
        line.length = end - begin;
        if (end < size)
            line.endLength = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1;
        each(line);
        begin = end + line.endLength;
    }
}

template <typename Each>
SectionPlace forEachLineEntry(std::string_view content, const FileLayout& layout, SectionPlace place, Each&& each)
{
    SectionTracker sections(layout, place);
    int32_t slot = 0;
    forEachRecord(content, [&](std::string_view record) {
        const SectionPlace at = sections.place();
        sections.step(record);
        each(classifyRecord(record, layout, at), slot++);
    });
    return sections.place();
}

template <typename EachEntry, typename EachLine>
void forEachListLine(std::string_view bytes, const FileLayout& layout, EachEntry&& eachEntry, EachLine&& eachLine)
{
    int32_t lineIndex = 0;
    SectionPlace place = SectionTracker(layout).place();
    forEachSourceLine(bytes, [&](SourceLine line) {
        line.place = place;
        int32_t recordCount = 0;
        place = forEachLineEntry(bytes.substr(line.begin, line.length), layout, place,
                                 [&](ListEntry&& entry, int32_t slot) {
                                     entry.origin = {lineIndex, slot};
                                     recordCount = slot + 1;
                                     eachEntry(std::move(entry));
                                 });
        line.entryCount = static_cast<uint32_t>(recordCount);
        eachLine(static_cast<const SourceLine&>(line));
        ++lineIndex;
    });
}

}  // namespace vs
