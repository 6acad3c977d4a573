#include "document/list_reader.h"

#include "catalog/record_reader.h"
#include "catalog/text_utils.h"

#include <algorithm>

namespace vs {

namespace {

ListEntry itemEntry(std::string_view record, int editMode)
{
    std::string_view data = record;
    std::string_view comment;
    bool hasComment = false;
    if (size_t first = record.find("//"); first != std::string_view::npos) {
        data = record.substr(0, first);
        std::string_view rest = record.substr(first + 2);
        comment = rest.substr(0, rest.find("//"));
        hasComment = true;
    }
    TokenList fields = readData(data);
    // A field with an unclosed double quote swallows the blanks that follow it,
    // up to the comment; kept, they would grow by the separators at every save.
    for (std::string& field : fields)
        if (std::count(field.begin(), field.end(), '"') % 2 == 1)
            field.erase(field.find_last_not_of(" \t") + 1);
    cutArrExcess(fields, itemFieldCount(editMode));
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
    return {std::move(text), kItemEntry};
}

}  // namespace

ListEntry classifyRecord(std::string_view record, int editMode)
{
    std::string_view text = stripLeadingBlanks(record);
    if (!text.empty() && isDecimalDigit(text.front()))
        return itemEntry(text, editMode);
    if (text.empty())
        return {std::string(), kBlankEntry};
    if (text.find("//") != std::string_view::npos)
        return {std::string(text), kCommentEntry};
    return {std::string(), -1};
}

EntryList readListFile(std::string_view bytes, int editMode)
{
    EntryList entries;
    for (const Record& record : splitRecords(bytes)) {
        ListEntry entry = classifyRecord(record.text, editMode);
        if (entry.kind >= 0)
            entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace vs
