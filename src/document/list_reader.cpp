#include "document/list_reader.h"

#include "catalog/text_utils.h"

#include <algorithm>
#include <array>

namespace vs {

namespace {

ListEntry itemEntry(std::string_view record, int editMode)
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
    TokenList fields = readData(data);
    // A field with an unclosed double quote swallows the blanks that follow it,
    // up to the comment; kept, they would grow by the separators at every save.
    for (std::string& field : fields)
        if (std::count(field.begin(), field.end(), '"') % 2 == 1)
            field.erase(field.find_last_not_of(" \t") + 1);
    const size_t n = static_cast<size_t>(itemFieldCount(editMode));
    if (fields.size() > n)
        rest.fields.assign(std::make_move_iterator(fields.begin() + static_cast<std::ptrdiff_t>(n)),
                           std::make_move_iterator(fields.end()));
    cutArrExcess(fields, static_cast<int>(n));
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += ',';
        text += fields[i];
    }
    if (hasComment) {
        text += ',';
        text += comment;
    }
    return {std::move(text), kItemEntry, std::move(rest), {}};
}

}  // namespace

ListEntry classifyRecord(std::string_view record, int editMode)
{
    std::string_view text = stripLeadingBlanks(record);
    if (!text.empty() && isDecimalDigit(text.front()))
        return itemEntry(text, editMode);
    if (text.empty())
        return {std::string(), kBlankEntry, {}, {}};
    // Headings, settings and "end" lines are kept as comment entries, so that
    // nothing the file holds is lost at Save.
    return {std::string(text), kCommentEntry, {}, {}};
}

ListFile readListFile(std::string bytes, int editMode)
{
    auto source = std::make_shared<SourceText>();
    source->bytes = std::move(bytes);
    const std::string_view all = source->bytes;
    ListFile file;
    std::array<size_t, 3> ends{};  // CRLF, LF, CR
    size_t begin = 0;
    while (begin < all.size()) {
        size_t end = all.find_first_of("\r\n", begin);
        SourceLine line;
        line.begin = begin;
        if (end == std::string_view::npos) {
            end = all.size();
        } else if (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') {
            line.endLength = 2;
            ++ends[0];
        } else {
            line.endLength = 1;
            ++ends[all[end] == '\n' ? 1 : 2];
        }
        line.length = end - begin;
        const auto lineIndex = static_cast<int32_t>(source->lines.size());
        int32_t slot = 0;
        forEachRecord(source->content(line), [&](std::string_view record) {
            ListEntry entry = classifyRecord(record, editMode);
            entry.origin = {lineIndex, slot++};
            file.entries.push_back(std::move(entry));
        });
        line.entryCount = static_cast<uint32_t>(slot);
        source->lines.push_back(line);
        begin = end + line.endLength;
    }
    static const char* const kEnds[3] = {"\r\n", "\n", "\r"};
    const size_t most = static_cast<size_t>(std::max_element(ends.begin(), ends.end()) - ends.begin());
    if (ends[most] > 0)
        source->lineEnd = kEnds[most];
    file.source = std::move(source);
    return file;
}

}  // namespace vs
