#pragma once

#include "document/list_entry.h"

#include <string>

namespace vs {

// True when some item entry's fifth field (the text after its fourth comma)
// reads exactly 1: an item-bag file is then written in the tab layout.
bool bagIsBoK(const EntryList& entries);

// The bytes of a shop file (editMode 0) or item-bag file (editMode 1) holding
// the entries, every line ended by CRLF. Item entries become fields separated by
// one space (or, in an item-bag file when bagIsBoK, a leading tab and tabs) with
// "//" before a non-empty comment; other entries are written as they stand. A
// shop file ends with the line "end".
std::string writeListFile(const EntryList& entries, int editMode);

// The one line (without its line end) an item entry is written as.
std::string itemLine(const std::string& text, int editMode, bool tabLayout);

}  // namespace vs
