// The list reader and writer on any file. The first byte chooses the layout
// of the file, the save style and an entry to edit; the rest is the file.
// - Saved as read, the file comes back byte for byte (a shop file may gain a
//   closing "end" line after it).
// - Open, Save, Open, Save, Open, Save: the second and third saves are equal.
// - The streaming path writes exactly what the stored list writes.
// - After an edit of one entry, every line before it is written as it was.
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "fuzz_support.h"

namespace {

std::string save(const vs::ListFile& file, const vs::FileLayout& layout, vs::SaveStyle style)
{
    return vs::writeListFile(file.entries, layout, file.source.get(), style);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const vs::FileLayout& layout = vs::builtInLayouts()[data[0] & 3];
    const vs::SaveStyle style = (data[0] & 4) ? vs::SaveStyle::Tidy : vs::SaveStyle::KeepLines;
    const std::string bytes(fuzzBytes(data + 1, size - 1));

    const vs::ListFile first = vs::readListFile(bytes, layout);
    const std::string kept = save(first, layout, vs::SaveStyle::KeepLines);
    FUZZ_CHECK(kept.compare(0, bytes.size(), bytes) == 0, "an untouched file is written back as it was");
    if (kept.size() > bytes.size()) {
        const std::string_view added = std::string_view(kept).substr(bytes.size());
        const std::string& end = first.source->lineEnd;
        FUZZ_CHECK(layout.editMode == 0, "only a shop file gains a line");
        FUZZ_CHECK(added == "end" + end || added == end + "end" + end, "what is added is a closing end line");
    }

    std::string streamed;
    vs::writeListStream(bytes, layout, style, [&](std::string_view piece) { streamed += piece; });
    const std::string save1 = save(first, layout, style);
    FUZZ_CHECK(streamed == save1, "the streaming writer writes what the stored list writes");

    const vs::ListFile second = vs::readListFile(save1, layout);
    const std::string save2 = save(second, layout, style);
    const vs::ListFile third = vs::readListFile(save2, layout);
    const std::string save3 = save(third, layout, style);
    FUZZ_CHECK(save2 == save3, "the second and third saves are equal");

    // One entry edited: the lines before its own stay as they were.
    if (!first.entries.empty()) {
        vs::EntryList edited = first.entries;
        const size_t at = (data[0] >> 3) % edited.size();
        edited[at] = vs::ListEntry("9,9,9", vs::kItemEntry, {}, edited[at].origin);
        const std::string out = vs::writeListFile(edited, layout, first.source.get(), vs::SaveStyle::KeepLines);
        const vs::SourceLine& line = first.source->lines[static_cast<size_t>(edited[at].origin.line)];
        FUZZ_CHECK(out.compare(0, line.begin, bytes, 0, line.begin) == 0, "lines before an edit keep their bytes");
        FUZZ_CHECK(out.find('9', line.begin) != std::string::npos, "the edit is written");
    }
    return 0;
}
