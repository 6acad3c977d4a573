#pragma once

#include "document/file_layout.h"
#include "document/list_entry.h"

#include <functional>
#include <string>
#include <string_view>

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

// The bytes of a file in the layout holding the entries. With the source the list was read from, a line whose entries
// all stand unchanged, together and in order, is written back byte for byte
// with its own line end. Every other entry becomes one line ended by the line
// end the source mostly uses (CRLF without a source): item entries as fields
// separated by the layout's separator (or, in a 6-column item-bag file when
// bagIsBoK, a leading tab and tabs) with their remainder and "//" before a
// non-empty comment (an empty comment adds nothing, not even a separator),
// other entries as they stand. A shop file ends with an
// "end" line unless a comment entry reading "end" follows its last item entry.
// With `lines`, the 1-based line each entry is written on (entries kept on a
// line of their own share its number).
std::string writeListFile(const EntryList& entries, const FileLayout& layout, const SourceText* source = nullptr,
                          SaveStyle style = SaveStyle::KeepLines, std::vector<int>* lines = nullptr);
// The same in the first layout of a shop (editMode 0) or an item bag (1).
inline std::string writeListFile(const EntryList& entries, int editMode, const SourceText* source = nullptr,
                                 SaveStyle style = SaveStyle::KeepLines)
{
    return writeListFile(entries, specLayout(editMode), source, style);
}

// Puts a list file together line by line, in the layout writeListFile
// describes: the line ends, the line after a last line that had none, and a
// shop file's closing "end". Without a sink the bytes collect until finish()
// returns them; with one they are handed to it in pieces as they grow.
class ListWriter {
public:
    using Sink = std::function<void(std::string_view)>;

    ListWriter(const FileLayout& layout, bool tabLayout, std::string lineEnd, Sink sink = {});

    // A line as it was read: its content and its own line end (empty for a
    // last line that had none).
    void keptLine(std::string_view content, std::string_view end);
    // One entry as a line of its own, ended by the line end.
    void entryLine(const ListEntry& entry);
    // The line end of the lines still to come and of a closing "end".
    void setLineEnd(std::string lineEnd) { lineEnd_ = std::move(lineEnd); }
    // Adds a shop file's closing "end" when it is owed; returns the bytes
    // (empty with a sink, which has been handed all of them).
    std::string finish();

private:
    void addLine(std::string_view content, std::string_view end);
    void append(std::string_view bytes);
    void note(int kind, std::string_view text);

    const FileLayout* layout_;
    bool tabLayout_;
    std::string lineEnd_;
    Sink sink_;
    std::string bytes_;
    char last_ = 0;        // the last byte written
    bool endOwed_ = false;  // the last line written had no line end of its own
    bool closed_ = false;   // an "end" comment follows the last item entry so far
};

// What writeListFile(readListFile(bytes, editMode)) writes, handed to `sink`
// in pieces, without keeping the entries: the file is read once (twice for
// the tidy layout, which depends on all of it).
void writeListStream(std::string_view bytes, const FileLayout& layout, SaveStyle style, const ListWriter::Sink& sink);
inline void writeListStream(std::string_view bytes, int editMode, SaveStyle style, const ListWriter::Sink& sink)
{
    writeListStream(bytes, specLayout(editMode), style, sink);
}

// The one line (without its line end) an item entry is written as.
std::string itemLine(const std::string& text, const FileLayout& layout, bool tabLayout,
                     const ItemRemainder& rest = {});
inline std::string itemLine(const std::string& text, int editMode, bool tabLayout, const ItemRemainder& rest = {})
{
    return itemLine(text, specLayout(editMode), tabLayout, rest);
}

// The remainder as it is written after an entry's fields: the extra fields,
// each after a separator, then "//" and the tail. Also what the list shows of it.
std::string remainderText(const ItemRemainder& rest, char separator);

// The first row (0-based) whose text holds a carriage return or a line feed,
// which no line of a file can hold, or -1.
long firstRowWithLineBreak(const EntryList& entries);

}  // namespace vs
