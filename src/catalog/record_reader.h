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

}  // namespace vs
