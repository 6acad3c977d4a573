#include "document/list_reader.h"

#include "catalog/text_utils.h"

#include <algorithm>

namespace vs {

namespace {

ListEntry itemEntry(std::string_view record, size_t n)
{
    std::string_view data = record;
    std::string_view comment;
    bool hasComment = false;
    ItemRemainder rest;
    if (size_t first = record.find("//"); first != std::string_view::npos) {
        data = record.substr(0, first);
        std::string_view after = record.substr(first + 2);
        const size_t second = after.find("//");
        comment = after.substr(0, second);
        if (second != std::string_view::npos)
            rest.tail = std::string(after.substr(second + 2));
        hasComment = true;
    }
    // The first fields, up to the document's count, joined by ","; missing
    // ones stay empty. The fields beyond the count go to the remainder.
    std::string text;
    text.reserve(data.size() + n + comment.size() + 1);
    size_t count = 0;
    forEachToken(data, [&](std::string_view field) {
        // A field with an unclosed double quote swallows the blanks that follow
        // it, up to the comment; kept, they would grow by the separators at
        // every save.
        if (std::count(field.begin(), field.end(), '"') % 2 == 1)
            field = field.substr(0, field.find_last_not_of(" \t") + 1);
        if (count < n) {
            if (count > 0)
                text += ',';
            text += field;
        } else {
            rest.fields.emplace_back(field);
        }
        ++count;
    });
    for (; count < n; ++count)
        if (count > 0)
            text += ',';
    if (hasComment) {
        text += ',';
        text += comment;
    }
    return {std::move(text), kItemEntry, std::move(rest), {}};
}

}  // namespace

int recordKind(std::string_view record)
{
    std::string_view text = stripLeadingBlanks(record);
    if (text.empty())
        return kBlankEntry;
    return isDecimalDigit(text.front()) ? kItemEntry : kCommentEntry;
}

ListEntry classifyRecord(std::string_view record, const FileLayout& layout, SectionPlace place)
{
    std::string_view text = stripLeadingBlanks(record);
    int kind = recordKind(text);
    // A section's number and the rows of a settings section are no items:
    // they are kept as they stand, as comment entries.
    if (kind == kItemEntry && layout.sectioned() &&
        (place == SectionPlace::Settings || (place == SectionPlace::Outside && loneNumber(text))))
        kind = kCommentEntry;
    switch (kind) {
    case kItemEntry: return itemEntry(text, layout.items.count());
    case kBlankEntry: return {std::string(), kBlankEntry, {}, {}};
    default:
        // Headings, settings and "end" lines are kept as comment entries, so
        // that nothing the file holds is lost at Save.
        return {std::string(text), kCommentEntry, {}, {}};
    }
}

void LineEndTally::add(std::string_view bytes, const SourceLine& line)
{
    if (line.endLength == 2)
        ++counts_[0];
    else if (line.endLength == 1)
        ++counts_[bytes[line.begin + line.length] == '\n' ? 1 : 2];
}

std::string LineEndTally::mostUsed() const
{
    static const char* const kEnds[3] = {"\r\n", "\n", "\r"};
    const size_t most = static_cast<size_t>(std::max_element(counts_, counts_ + 3) - counts_);
    return counts_[most] > 0 ? kEnds[most] : "\r\n";
}

ListFile readListFile(std::string bytes, const FileLayout& layout)
{
    auto source = std::make_shared<SourceText>();
    source->bytes = std::move(bytes);
    const std::string_view all = source->bytes;
    ListFile file;
    // Room for every record at once: a file of millions of records never
    // holds its entries twice while the list grows.
    size_t lineEnds = 0, commas = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        lineEnds += all[i] == '\n' || (all[i] == '\r' && (i + 1 == all.size() || all[i + 1] != '\n'));
        commas += all[i] == ',';
    }
    file.entries.reserve(lineEnds + commas + 1);
    source->lines.reserve(lineEnds + 1);
    LineEndTally ends;
    forEachListLine(
        all, layout, [&](ListEntry&& entry) { file.entries.push_back(std::move(entry)); },
        [&](const SourceLine& line) {
            ends.add(all, line);
            source->lines.push_back(line);
        });
    source->lineEnd = ends.mostUsed();
    file.source = std::move(source);
    return file;
}

}  // namespace vs
