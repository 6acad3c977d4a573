#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vs {

// One record of a text file: the bytes between two record ends.
struct Record {
    std::string text;
    int line = 0;  // 1-based line the record stands on
};

// Cuts file bytes into records. A record ends at a comma or at a line end; CRLF,
// LF and a lone CR each end a line, and the terminator belongs to no record. A
// line with k commas gives k + 1 records, an empty line one empty record. A last
// line without a line end is still a record; a line end at the very end of the
// bytes adds no empty record. Double quotes do not protect commas.
std::vector<Record> splitRecords(std::string_view bytes);

// The same records, one at a time and without copying: `each(text, line)`
// with the record's bytes as a view into `bytes` and its 1-based line.
template <typename Each>
void forEachFileRecord(std::string_view bytes, Each&& each)
{
    int line = 1;
    size_t start = 0;
    bool lineStarted = false;  // something (a byte or a comma) since the last line end
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            each(bytes.substr(start, i - start), line);
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++line;
            start = i + 1;
            lineStarted = false;
        } else if (c == ',') {
            each(bytes.substr(start, i - start), line);
            start = i + 1;
            lineStarted = true;
        } else {
            lineStarted = true;
        }
    }
    if (lineStarted)
        each(bytes.substr(start), line);
}

}  // namespace vs
