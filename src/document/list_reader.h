#pragma once

#include "document/list_entry.h"

#include <string_view>

namespace vs {

// Reads the bytes of a shop file (editMode 0) or an item-bag file (editMode 1)
// into list entries. Each record, without its leading spaces and tabs, becomes:
// an item entry when it begins with a digit (its fields fitted to the document's
// count and joined by ",", then "," and the comment between the first and a
// second "//"); a blank entry when empty; a comment entry, as it stands, when it
// holds "//"; and nothing otherwise.
EntryList readListFile(std::string_view bytes, int editMode);

// The entry one record gives, or no entry (kind -1) when the record is not kept.
ListEntry classifyRecord(std::string_view record, int editMode);

}  // namespace vs
