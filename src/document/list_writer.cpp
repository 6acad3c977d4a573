#include "document/list_writer.h"

#include "catalog/token_value.h"

namespace vs {

namespace {
std::vector<std::string> splitAtCommas(const std::string& text)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        pieces.push_back(text.substr(start, comma - start));
    pieces.push_back(text.substr(start));
    return pieces;
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

std::string itemLine(const std::string& text, int editMode, bool tabLayout)
{
    const size_t n = static_cast<size_t>(itemFieldCount(editMode));
    std::vector<std::string> pieces = splitAtCommas(text);
    if (pieces.size() > n && !pieces[n].empty())
        pieces[n] = "//" + pieces[n];
    const char separator = tabLayout ? '\t' : ' ';
    std::string line = tabLayout ? "\t" : "";
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            line += separator;
        line += pieces[i];
    }
    return line;
}

std::string writeListFile(const EntryList& entries, int editMode)
{
    const bool tabLayout = editMode == 1 && bagIsBoK(entries);
    std::string bytes;
    for (const ListEntry& entry : entries) {
        bytes += entry.kind == kItemEntry ? itemLine(entry.text, editMode, tabLayout) : entry.text;
        bytes += "\r\n";
    }
    if (editMode == 0)
        bytes += "end\r\n";
    return bytes;
}

}  // namespace vs
