#include "document/list_writer.h"

#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "document/list_reader.h"

namespace vs {

namespace {

std::vector<std::string> splitAtCommas(const std::string& text)
{
    std::vector<std::string> pieces;
    forEachRecord(text, [&](std::string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

// "end", in any case and with blanks around it, as a shop file's closing line.
bool readsEnd(const ListEntry& entry)
{
    if (entry.kind != kCommentEntry)
        return false;
    std::string_view text = stripLeadingBlanks(entry.text);
    const size_t last = text.find_last_not_of(" \t");
    text = last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
    return toLowerAscii(text) == "end";
}

bool closedByEnd(const EntryList& entries)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->kind == kItemEntry)
            return false;
        if (readsEnd(*it))
            return true;
    }
    return false;
}

// Whether entries[at...] are the entries of source line `origin.line`, all of
// them, in order and as they were read.
bool lineUnchanged(const EntryList& entries, size_t at, const SourceText& source, int editMode)
{
    const int32_t index = entries[at].origin.line;
    if (index < 0 || static_cast<size_t>(index) >= source.lines.size() || entries[at].origin.slot != 0)
        return false;
    const SourceLine& line = source.lines[static_cast<size_t>(index)];
    if (entries.size() - at < line.entryCount)
        return false;
    bool same = true;
    int32_t slot = 0;
    forEachRecord(source.content(line), [&](std::string_view record) {
        if (!same)
            return;
        const ListEntry& entry = entries[at + static_cast<size_t>(slot)];
        same = entry.origin == EntryOrigin{index, slot} && entry == classifyRecord(record, editMode);
        ++slot;
    });
    return same;
}

}  // namespace

bool bagIsBoK(const EntryList& entries)
{
    for (const ListEntry& entry : entries) {
        if (entry.kind != kItemEntry)
            continue;
        std::vector<std::string> pieces = splitAtCommas(entry.text);
        if (pieces.size() >= 5 && tokenValue(pieces[4]) == 1.0)
            return true;
    }
    return false;
}

std::string remainderText(const ItemRemainder& rest, char separator)
{
    std::string text;
    for (const std::string& field : rest.fields) {
        text += separator;
        text += field;
    }
    if (rest.tail) {
        text += "//";
        text += *rest.tail;
    }
    return text;
}

std::string itemLine(const std::string& text, int editMode, bool tabLayout, const ItemRemainder& rest)
{
    const size_t n = static_cast<size_t>(itemFieldCount(editMode));
    const std::vector<std::string> pieces = splitAtCommas(text);
    const char separator = tabLayout ? '\t' : ' ';
    std::string line = tabLayout ? "\t" : "";
    for (size_t i = 0; i < std::min(n, pieces.size()); ++i) {
        if (i > 0)
            line += separator;
        line += pieces[i];
    }
    for (const std::string& field : rest.fields) {
        line += separator;
        line += field;
    }
    if (pieces.size() > n || rest.tail) {
        // The comment, with "//" before it when it has text or a tail follows;
        // commas inside it become separators.
        line += separator;
        const std::string comment = pieces.size() > n ? pieces[n] : std::string();
        if (!comment.empty() || rest.tail)
            line += "//";
        line += comment;
        for (size_t i = n + 1; i < pieces.size(); ++i) {
            line += separator;
            line += pieces[i];
        }
    }
    if (rest.tail) {
        line += "//";
        line += *rest.tail;
    }
    return line;
}

std::string writeListFile(const EntryList& entries, int editMode, const SourceText* source, SaveStyle style)
{
    const bool tabLayout = editMode == 1 && bagIsBoK(entries);
    const std::string lineEnd = source ? source->lineEnd : std::string("\r\n");
    const bool keepLines = source && style == SaveStyle::KeepLines;
    std::string bytes;
    bool endOwed = false;  // the last line written had no line end of its own
    auto addLine = [&](std::string_view content, std::string_view end) {
        if (endOwed)
            bytes += lineEnd;
        endOwed = end.empty();
        // An empty line ended by LF right after a lone CR would merge with it
        // into one CRLF; it ends with CR instead and stays a line of its own.
        if (content.empty() && end == "\n" && !bytes.empty() && bytes.back() == '\r')
            end = "\r";
        bytes += content;
        bytes += end;
    };
    for (size_t at = 0; at < entries.size();) {
        const ListEntry& entry = entries[at];
        if (keepLines && lineUnchanged(entries, at, *source, editMode)) {
            const SourceLine& line = source->lines[static_cast<size_t>(entry.origin.line)];
            const std::string_view whole = source->withEnd(line);
            addLine(whole.substr(0, line.length), whole.substr(line.length));
            at += line.entryCount;
            continue;
        }
        addLine(entry.kind == kItemEntry ? itemLine(entry.text, editMode, tabLayout, entry.rest) : entry.text,
                lineEnd);
        ++at;
    }
    if (editMode == 0 && !closedByEnd(entries))
        addLine("end", lineEnd);
    return bytes;
}

long firstRowWithLineBreak(const EntryList& entries)
{
    for (size_t r = 0; r < entries.size(); ++r)
        if (entries[r].text.find_first_of("\r\n") != std::string::npos)
            return static_cast<long>(r);
    return -1;
}

}  // namespace vs
