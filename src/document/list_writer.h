#pragma once

#include "document/list_entry.h"

#include <string>

namespace vs {

struct SourceText;

// True when some item entry's fifth field (the text after its fourth comma)
// reads exactly 1: an item-bag file is then written in the tab layout.
bool bagIsBoK(const EntryList& entries);

// How a save treats the lines the list was read from.
enum class SaveStyle {
    KeepLines,  // a line whose entries are all unchanged is written as it was read
    Tidy,       // every entry is written in the file's layout
};

// The bytes of a shop file (editMode 0) or item-bag file (editMode 1) holding
// the entries. With the source the list was read from, a line whose entries
// all stand unchanged, together and in order, is written back byte for byte
// with its own line end. Every other entry becomes one line ended by the line
// end the source mostly uses (CRLF without a source): item entries as fields
// separated by one space (or, in an item-bag file when bagIsBoK, a leading tab
// and tabs) with their remainder and "//" before a non-empty comment, other
// entries as they stand. A shop file ends with an "end" line unless a comment
// entry reading "end" follows its last item entry.
std::string writeListFile(const EntryList& entries, int editMode, const SourceText* source = nullptr,
                          SaveStyle style = SaveStyle::KeepLines);

// The one line (without its line end) an item entry is written as.
std::string itemLine(const std::string& text, int editMode, bool tabLayout, const ItemRemainder& rest = {});

// The remainder as it is written after an entry's fields: the extra fields,
// each after a separator, then "//" and the tail. Also what the list shows of it.
std::string remainderText(const ItemRemainder& rest, char separator);

// The first row (0-based) whose text holds a carriage return or a line feed,
// which no line of a file can hold, or -1.
long firstRowWithLineBreak(const EntryList& entries);

}  // namespace vs
