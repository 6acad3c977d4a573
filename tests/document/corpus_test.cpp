// Real shop and item-bag files from a game server, read where they lie.
#include "catalog/record_reader.h"
#include "catalog/text_utils.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

struct CorpusFile {
    std::string name;
    std::string bytes;
    int editMode;
};

std::vector<CorpusFile> corpusFiles()
{
    std::vector<CorpusFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        std::string name = entry.path().filename().string();
        if (auto mode = editModeForFileName(name))
            files.push_back({name, test::readBytes(entry.path()), *mode});
    }
    std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return a.name < b.name; });
    return files;
}

std::vector<std::string> crlfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "output does not end with CRLF";
    return lines;
}

TEST(Corpus, EveryFileIsTold)
{
    VS_REQUIRE_CORPUS();
    auto files = corpusFiles();
    EXPECT_GE(files.size(), 15u);
    int bags = 0;
    for (const auto& f : files)
        bags += f.editMode;
    EXPECT_GE(bags, 8);
}

TEST(Corpus, SavedLinesKeepTheBytesTheGrammarDidNotChange)
{
    VS_REQUIRE_CORPUS();
    for (const CorpusFile& file : corpusFiles()) {
        SCOPED_TRACE(file.name);
        const int n = itemFieldCount(file.editMode);
        EntryList entries = readListFile(file.bytes, file.editMode);
        std::string saved = writeListFile(entries, file.editMode);
        std::vector<std::string> lines = crlfLines(saved);
        if (file.editMode == 0) {
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back(), "end");
            lines.pop_back();
        }
        const bool tabs = file.editMode == 1 && bagIsBoK(entries);
        // Walk the kept records of the source beside the saved lines.
        size_t at = 0;
        for (const Record& record : splitRecords(file.bytes)) {
            std::string_view text = stripLeadingBlanks(record.text);
            ListEntry entry = classifyRecord(record.text, file.editMode);
            if (entry.kind < 0)
                continue;
            ASSERT_LT(at, lines.size());
            const std::string& line = lines[at++];
            SCOPED_TRACE("source line " + std::to_string(record.line));
            if (entry.kind != kItemEntry) {
                EXPECT_EQ(line, text);
                continue;
            }
            // Item lines: the same field texts, and the comment byte for byte.
            size_t slash = text.find("//");
            TokenList sourceFields = readData(text.substr(0, slash));
            sourceFields.resize(std::min<size_t>(sourceFields.size(), n));
            size_t savedSlash = line.find("//");
            EXPECT_EQ(readData(line.substr(0, savedSlash)), sourceFields);
            if (tabs) {
                EXPECT_EQ(line.front(), '\t');
            }
            if (slash != std::string_view::npos) {
                std::string_view comment = text.substr(slash + 2);
                comment = comment.substr(0, comment.find("//"));
                if (comment.empty()) {
                    EXPECT_EQ(savedSlash, std::string::npos);
                } else {
                    EXPECT_EQ(line.substr(savedSlash + 2), comment);
                }
            }
        }
        EXPECT_EQ(at, lines.size());
    }
}

TEST(Corpus, NormalizingTwiceChangesNothing)
{
    VS_REQUIRE_CORPUS();
    for (const CorpusFile& file : corpusFiles()) {
        SCOPED_TRACE(file.name);
        std::string once = writeListFile(readListFile(file.bytes, file.editMode), file.editMode);
        EXPECT_EQ(writeListFile(readListFile(once, file.editMode), file.editMode), once);
    }
}

}  // namespace
}  // namespace vs
