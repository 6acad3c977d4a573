#include "catalog/record_reader.h"

namespace vs {

std::vector<Record> splitRecords(std::string_view bytes)
{
    std::vector<Record> records;
    std::string current;
    int line = 1;
    bool lineStarted = false;  // something (a byte or a comma) since the last line end
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            records.push_back({std::move(current), line});
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++line;
            lineStarted = false;
        } else if (c == ',') {
            records.push_back({std::move(current), line});
            current.clear();
            lineStarted = true;
        } else {
            current += c;
            lineStarted = true;
        }
    }
    if (lineStarted)
        records.push_back({std::move(current), line});
    return records;
}

}  // namespace vs
