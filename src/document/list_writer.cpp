#include "document/list_writer.h"

#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "codes/item_columns.h"
#include "document/list_reader.h"

#include <algorithm>

namespace vs {

namespace {

// An item entry whose fifth field reads exactly 1.
bool setsTabLayout(const ListEntry& entry)
{
    if (entry.kind != kItemEntry)
        return false;
    const std::vector<std::string_view> pieces = entryPieces(entry.text);
    return pieces.size() >= 5 && tokenValue(pieces[4]) == 1.0;
}

// Whether entries[at...] are the entries of source line `origin.line`, all of
// them, in order and as they were read.
bool lineUnchanged(const EntryList& entries, size_t at, const SourceText& source, const FileLayout& layout)
{
    const int32_t index = entries[at].origin.line;
    if (index < 0 || static_cast<size_t>(index) >= source.lines.size() || entries[at].origin.slot != 0)
        return false;
    const SourceLine& line = source.lines[static_cast<size_t>(index)];
    if (entries.size() - at < line.entryCount)
        return false;
    bool same = true;
    forEachLineEntry(source.content(line), layout, line.place, [&](ListEntry&& read, int32_t slot) {
        const ListEntry& entry = entries[at + static_cast<size_t>(slot)];
        same = same && entry.origin == EntryOrigin{index, slot} && entry == read;
    });
    return same;
}

}  // namespace

bool bagIsBoK(const EntryList& entries)
{
    return std::any_of(entries.begin(), entries.end(), setsTabLayout);
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

std::string itemLine(const std::string& text, const FileLayout& layout, bool tabLayout, const ItemRemainder& rest)
{
    const size_t n = layout.items.count();
    const std::vector<std::string_view> pieces = entryPieces(text);
    const char separator = tabLayout ? '\t' : layout.separator;
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
    const std::string_view comment = pieces.size() > n ? pieces[n] : std::string_view();
    // An empty comment with nothing after it is written as nothing at all: a
    // lone separator at the end of the line would be read back as no comment
    // either, and the line would change again at the next save.
    if (!comment.empty() || pieces.size() > n + 1 || rest.tail) {
        // The comment, with "//" before it when it has text or a tail follows;
        // commas inside it become separators.
        line += separator;
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

ListWriter::ListWriter(const FileLayout& layout, bool tabLayout, std::string lineEnd, Sink sink)
    : layout_(&layout), tabLayout_(tabLayout), lineEnd_(std::move(lineEnd)), sink_(std::move(sink))
{
}

void ListWriter::append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    bytes_ += bytes;
    last_ = bytes.back();
    if (sink_ && bytes_.size() >= (size_t{1} << 16)) {
        sink_(bytes_);
        bytes_.clear();
    }
}

void ListWriter::addLine(std::string_view content, std::string_view end)
{
    if (endOwed_)
        append(lineEnd_);
    endOwed_ = end.empty();
    // An empty line ended by LF right after a lone CR would merge with it
    // into one CRLF; it ends with CR instead and stays a line of its own.
    if (content.empty() && end == "\n" && last_ == '\r')
        end = "\r";
    append(content);
    append(end);
}

void ListWriter::note(int kind, std::string_view text)
{
    if (kind == kItemEntry)
        closed_ = false;
    else if (kind == kCommentEntry && readsEnd(text))
        closed_ = true;
}

void ListWriter::keptLine(std::string_view content, std::string_view end)
{
    if (layout_->editMode == 0)
        forEachRecord(content, [&](std::string_view record) { note(recordKind(record), record); });
    addLine(content, end);
}

void ListWriter::entryLine(const ListEntry& entry)
{
    if (layout_->editMode == 0)
        note(entry.kind, entry.text);
    addLine(entry.kind == kItemEntry ? itemLine(entry.text, *layout_, tabLayout_, entry.rest) : entry.text,
            lineEnd_);
}

std::string ListWriter::finish()
{
    if (layout_->editMode == 0 && !closed_)
        addLine("end", lineEnd_);
    if (sink_) {
        if (!bytes_.empty())
            sink_(bytes_);
        bytes_.clear();
    }
    return std::move(bytes_);
}

namespace {

// The BoK tab layout belongs to the 6-column item bag alone.
bool takesTabLayout(const FileLayout& layout)
{
    return layout.id == LayoutId::Bag6;
}

}  // namespace

std::string writeListFile(const EntryList& entries, const FileLayout& layout, const SourceText* source,
                          SaveStyle style, std::vector<int>* lines)
{
    if (lines)
        lines->assign(entries.size(), 0);
    int line = 1;
    const bool tabLayout = takesTabLayout(layout) && bagIsBoK(entries);
    const bool keepLines = source && style == SaveStyle::KeepLines;
    ListWriter writer(layout, tabLayout, source ? source->lineEnd : std::string("\r\n"));
    for (size_t at = 0; at < entries.size();) {
        const ListEntry& entry = entries[at];
        if (keepLines && lineUnchanged(entries, at, *source, layout)) {
            const SourceLine& kept = source->lines[static_cast<size_t>(entry.origin.line)];
            const std::string_view whole = source->withEnd(kept);
            writer.keptLine(whole.substr(0, kept.length), whole.substr(kept.length));
            for (size_t e = at; lines && e < at + kept.entryCount; ++e)
                (*lines)[e] = line;
            ++line;
            at += kept.entryCount;
            continue;
        }
        writer.entryLine(entry);
        if (lines)
            (*lines)[at] = line;
        ++line;
        ++at;
    }
    return writer.finish();
}

void writeListStream(std::string_view bytes, const FileLayout& layout, SaveStyle style, const ListWriter::Sink& sink)
{
    LineEndTally ends;
    if (style == SaveStyle::KeepLines) {
        // Every line of a file just read is unchanged and kept; the line end
        // matters only for a closing "end", at the finish.
        ListWriter writer(layout, false, std::string(), sink);
        forEachSourceLine(bytes, [&](const SourceLine& line) {
            ends.add(bytes, line);
            writer.keptLine(bytes.substr(line.begin, line.length),
                            bytes.substr(line.begin + line.length, line.endLength));
        });
        writer.setLineEnd(ends.mostUsed());
        writer.finish();
        return;
    }
    // The tidy layout's line end and tabs depend on the whole file.
    bool tabLayout = false;
    if (takesTabLayout(layout))
        forEachListLine(
            bytes, layout, [&](ListEntry&& entry) { tabLayout = tabLayout || setsTabLayout(entry); },
            [&](const SourceLine& line) { ends.add(bytes, line); });
    else
        forEachSourceLine(bytes, [&](const SourceLine& line) { ends.add(bytes, line); });
    ListWriter writer(layout, tabLayout, ends.mostUsed(), sink);
    forEachListLine(
        bytes, layout, [&](ListEntry&& entry) { writer.entryLine(entry); }, [](const SourceLine&) {});
    writer.finish();
}

long firstRowWithLineBreak(const EntryList& entries)
{
    for (size_t r = 0; r < entries.size(); ++r)
        if (entries[r].text.find_first_of("\r\n") != std::string::npos)
            return static_cast<long>(r);
    return -1;
}

}  // namespace vs
