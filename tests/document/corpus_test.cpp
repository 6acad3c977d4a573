// Real shop and item-bag files from a game server, read where they lie.
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

// The file's lines, each with its own line end.
std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        else
            end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        lines.push_back(bytes.substr(start, end - start));
        start = end;
    }
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

TEST(Corpus, AnUntouchedFileIsSavedByteForByte)
{
    VS_REQUIRE_CORPUS();
    int shopsClosed = 0;
    for (const CorpusFile& file : corpusFiles()) {
        SCOPED_TRACE(file.name);
        const ListFile list = readListFile(file.bytes, file.editMode);
        const std::string saved = writeListFile(list.entries, file.editMode, list.source.get());
        if (saved == file.bytes) {
            shopsClosed += file.editMode == 0;
            continue;
        }
        // Only a shop file without a closing "end" may differ: by that line alone.
        ASSERT_EQ(file.editMode, 0) << "an item-bag file came back changed";
        ASSERT_GT(saved.size(), file.bytes.size());
        EXPECT_EQ(saved.substr(0, file.bytes.size()), file.bytes);
        EXPECT_EQ(saved.substr(file.bytes.size()), "end" + list.source->lineEnd);
    }
    EXPECT_GT(shopsClosed, 0) << "the shop files of the corpus close with end";
}

TEST(Corpus, EditingOneItemRewritesOnlyItsLineAndKeepsItsRemainder)
{
    VS_REQUIRE_CORPUS();
    int withRemainder = 0;
    for (const CorpusFile& file : corpusFiles()) {
        SCOPED_TRACE(file.name);
        ListFile list = readListFile(file.bytes, file.editMode);
        // The first item entry with a remainder, else the first item entry.
        auto isItem = [&](const ListEntry& e) {
            return e.kind == kItemEntry && list.source->lines[static_cast<size_t>(e.origin.line)].entryCount == 1;
        };
        auto target = std::find_if(list.entries.begin(), list.entries.end(),
                                   [&](const ListEntry& e) { return isItem(e) && !e.rest.empty(); });
        if (target == list.entries.end())
            target = std::find_if(list.entries.begin(), list.entries.end(), isItem);
        ASSERT_NE(target, list.entries.end());
        withRemainder += !target->rest.empty();
        const int line = target->origin.line;
        const std::vector<std::string> before = linesOf(file.bytes);

        target->text.replace(0, target->text.find(','), "15");  // another class
        const ItemRemainder rest = target->rest;
        const std::vector<std::string> after =
            linesOf(writeListFile(list.entries, file.editMode, list.source.get()));
        ASSERT_GE(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i)
            if (static_cast<int>(i) != line) {
                EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
            }
        EXPECT_NE(after[static_cast<size_t>(line)], before[static_cast<size_t>(line)]);
        const EntryList reread = readListFile(after[static_cast<size_t>(line)], file.editMode).entries;
        ASSERT_EQ(reread.size(), 1u);
        EXPECT_EQ(reread[0].text, target->text);
        EXPECT_EQ(reread[0].rest, rest) << "the seventh column and the second comment survive the edit";
    }
    EXPECT_GT(withRemainder, 0) << "some corpus lines hold more than the document's fields";
}

TEST(Corpus, TidyKeepsEveryEntryAndSettles)
{
    VS_REQUIRE_CORPUS();
    for (const CorpusFile& file : corpusFiles()) {
        SCOPED_TRACE(file.name);
        const ListFile list = readListFile(file.bytes, file.editMode);
        const std::string once = writeListFile(list.entries, file.editMode, list.source.get(), SaveStyle::Tidy);
        const ListFile again = readListFile(once, file.editMode);
        ASSERT_GE(again.entries.size(), list.entries.size());
        for (size_t i = 0; i < list.entries.size(); ++i) {
            const ListEntry& e = list.entries[i];
            if (e.kind == kItemEntry && !e.text.empty() && e.text.back() == ',' && !e.rest.tail)
                continue;  // an empty comment is written as a trailing blank and read as none
            EXPECT_EQ(again.entries[i], e) << "entry " << i;
        }
        EXPECT_EQ(writeListFile(again.entries, file.editMode, again.source.get(), SaveStyle::Tidy), once);
    }
}

}  // namespace
}  // namespace vs
