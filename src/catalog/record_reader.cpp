#include "catalog/record_reader.h"

namespace vs {

std::vector<Record> splitRecords(std::string_view bytes)
{
    std::vector<Record> records;
    forEachFileRecord(bytes, [&](std::string_view text, int line) { records.push_back({std::string(text), line}); });
    return records;
}

}  // namespace vs
