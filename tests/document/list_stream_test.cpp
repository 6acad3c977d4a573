// The streaming reader and writer against the stored list: the entries one at
// a time are the entries readListFile keeps, and writeListStream writes the
// bytes writeListFile writes for the list just read, for every input.
#include "catalog/file_io.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <random>

namespace vs {
namespace {

std::string streamed(std::string_view bytes, const FileLayout& layout, SaveStyle style, size_t* pieces = nullptr)
{
    std::string out;
    size_t count = 0;
    writeListStream(bytes, layout, style, [&](std::string_view piece) {
        EXPECT_FALSE(piece.empty());
        out += piece;
        ++count;
    });
    if (pieces)
        *pieces = count;
    return out;
}

// Both paths over one input, in every layout and both save styles.
void expectSamePaths(const std::string& bytes, const std::string& label)
{
    for (const FileLayout& layout : builtInLayouts()) {
        const ListFile file = readListFile(bytes, layout);

        EntryList visited;
        std::vector<SourceLine> lines;
        forEachListLine(
            bytes, layout, [&](ListEntry&& entry) { visited.push_back(std::move(entry)); },
            [&](const SourceLine& line) { lines.push_back(line); });
        ASSERT_EQ(visited.size(), file.entries.size()) << label;
        for (size_t i = 0; i < visited.size(); ++i) {
            ASSERT_EQ(visited[i], file.entries[i]) << label << " entry " << i;
            ASSERT_EQ(visited[i].origin, file.entries[i].origin) << label << " entry " << i;
        }
        ASSERT_EQ(lines.size(), file.source->lines.size()) << label;
        for (size_t i = 0; i < lines.size(); ++i) {
            const SourceLine& a = lines[i];
            const SourceLine& b = file.source->lines[i];
            ASSERT_TRUE(a.begin == b.begin && a.length == b.length && a.endLength == b.endLength &&
                        a.entryCount == b.entryCount && a.place == b.place)
                << label << " line " << i;
        }

        for (SaveStyle style : {SaveStyle::KeepLines, SaveStyle::Tidy}) {
            const std::string stored = writeListFile(file.entries, layout, file.source.get(), style);
            ASSERT_EQ(streamed(bytes, layout, style), stored)
                << label << " layout " << layout.name << (style == SaveStyle::Tidy ? " tidy" : " keep");
        }
    }
}

// Files made of the pieces the reader and writer treat specially.
std::string randomFile(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = {
        "0",   "1",   "12",   "7",  " ",   "\t",  ",",    ",",      "\r",  "\n",   "\r\n", "\r\n", "//", "\"",
        "end", "END", " eNd", "x",  "&H1", "-3",  "1.5e", "shop",   "a b", "\\",   std::string(1, '\0'),
        "\xe9", "0 1 2 3 1 5 6 7", "1,2,3,4,1,6",  "//c//t", "\"Kris x", "2\n", "end\r\n", "0 11 0 9 1 1 1 0",
    };
    std::uniform_int_distribution<size_t> count(0, 60);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::string bytes;
    for (size_t n = count(rng); n > 0; --n)
        bytes += pieces[pick(rng)];
    return bytes;
}

TEST(ListStream, MatchesTheStoredListOnRandomFiles)
{
    std::mt19937 rng(20240607);
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = randomFile(rng);
        expectSamePaths(bytes, "random file " + std::to_string(i));
        if (HasFatalFailure())
            return;
    }
}

TEST(ListStream, MatchesTheStoredListOnTheCorpus)
{
    VS_REQUIRE_CORPUS();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        if (!entry.is_regular_file())
            continue;
        const std::string bytes = readFileBytes(entry.path());
        expectSamePaths(bytes, entry.path().filename().string());
        // The same file with other line ends and without its last one.
        std::string lf, cr;
        for (char c : bytes) {
            if (c != '\r')
                lf += c;
            cr += c == '\n' ? '\r' : c;
        }
        expectSamePaths(lf, entry.path().filename().string() + " with LF");
        expectSamePaths(cr, entry.path().filename().string() + " with CR and LF as CR");
        if (!bytes.empty())
            expectSamePaths(bytes.substr(0, bytes.size() - 1), entry.path().filename().string() + " cut short");
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST(ListStream, EdgesOfLinesAndTheClosingEnd)
{
    struct Case {
        std::string bytes;
        int editMode;
        SaveStyle style;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // A last line without its end gets the file's line end before the closing "end".
        {"0 1 2 3 4 5 6\n1 2", 0, SaveStyle::KeepLines, "0 1 2 3 4 5 6\n1 2\nend\n"},
        // An "end" after the last item closes the file, in any case and with blanks.
        {"1 2\r\n  End \t\r\n// after\r\n", 0, SaveStyle::KeepLines, "1 2\r\n  End \t\r\n// after\r\n"},
        // An item after the "end" needs a new one.
        {"end\r\n1 2\r\n", 0, SaveStyle::KeepLines, "end\r\n1 2\r\nend\r\n"},
        // "end" sharing a line with an item, after it, closes the file.
        {"1 2,end\n", 0, SaveStyle::KeepLines, "1 2,end\n"},
        {"endx\n", 0, SaveStyle::KeepLines, "endx\nend\n"},
        // Item-bag files get no "end"; the tidy layout puts each entry on a line.
        {"1 2,,x\r\n", 1, SaveStyle::Tidy, "1 2    \r\n\r\nx\r\n"},
        // A fifth field of exactly 1 anywhere makes the tidy bag layout tabbed.
        {"1 2 3 4 5 6\n0 0 0 0 1 0\n", 1, SaveStyle::Tidy, "\t1\t2\t3\t4\t5\t6\n\t0\t0\t0\t0\t1\t0\n"},
        // Lone CRs stay lone: an empty line after one keeps its own end.
        {"a\r\r\n", 0, SaveStyle::KeepLines, "a\r\r\nend\r\n"},
        {"", 0, SaveStyle::KeepLines, "end\r\n"},
        {"", 1, SaveStyle::KeepLines, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(streamed(c.bytes, specLayout(c.editMode), c.style), c.expected) << c.bytes;
        expectSamePaths(c.bytes, c.bytes);
    }
}

TEST(ListStream, LargeFilesArriveInPiecesAndWhole)
{
    std::string bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += std::to_string(i % 16) + " " + std::to_string(i % 32) + " 0 255 0 1 2 //name " + std::to_string(i) +
                 "\r\n";
    size_t pieces = 0;
    const std::string out = streamed(bytes, specLayout(0), SaveStyle::KeepLines, &pieces);
    EXPECT_EQ(out, bytes + "end\r\n");
    EXPECT_GT(pieces, 1u);  // handed over as it grows, not gathered whole
    expectSamePaths(bytes, "40,000 item lines");
}

}  // namespace
}  // namespace vs
