// Recovery files: whatever a document holds comes back whole, and bytes that
// are not a whole recovery are refused rather than half read.
#include "document/file_layout.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "document/recovery.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace vs {
namespace {

std::string randomBytes(std::mt19937& rng, size_t most)
{
    static const std::string pieces[] = {"0", "12", " ", "\t", ",", "\r", "\n", "\r\n", "//", ":", "7:", std::string("\0", 1), "\xff", "end", "x"};
    std::string text;
    for (size_t n = rng() % (most + 1); n > 0; --n)
        text += pieces[rng() % std::size(pieces)];
    return text;
}

TEST(Recovery, AnyListAndStorageComesBackWhole)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        Recovery original;
        original.kind = round % 4 == 0 ? Recovery::Kind::Storage : Recovery::Kind::List;
        original.writtenAtMs = static_cast<int64_t>(rng()) * 1000 + round;
        original.pid = rng() % 100000;
        original.path = randomBytes(rng, 4);
        if (original.kind == Recovery::Kind::Storage) {
            original.storageKind = round % 8 == 0 ? "inventory" : "warehouse";
            original.storageBytes = randomBytes(rng, 60);
            if (round % 12 == 4) {  // read from the server's database: where its row is
                original.databaseUrl = "sqlite:" + randomBytes(rng, 5);
                original.databaseTable = randomBytes(rng, 2);
                original.databaseKey = randomBytes(rng, 2);
                original.databaseColumn = randomBytes(rng, 2);
                original.databaseOwner = randomBytes(rng, 3);
                original.databaseOriginal = randomBytes(rng, 30);
            }
        } else {
            original.layout = builtInLayouts()[rng() % 4].name;
            original.encoding = "cp949";
            original.source = randomBytes(rng, 40);
            for (size_t e = rng() % 6; e > 0; --e) {
                ListEntry entry(randomBytes(rng, 6), static_cast<int>(rng() % 3), {},
                                {static_cast<int32_t>(rng() % 9) - 1, static_cast<int32_t>(rng() % 3)});
                for (size_t f = rng() % 3; f > 0; --f)
                    entry.rest.fields.push_back(randomBytes(rng, 2));
                if (rng() % 2)
                    entry.rest.tail = randomBytes(rng, 3);
                original.entries.push_back(entry);
            }
        }
        const std::string bytes = encodeRecovery(original);
        const std::optional<Recovery> back = decodeRecovery(bytes);
        ASSERT_TRUE(back) << round;
        EXPECT_EQ(back->kind, original.kind);
        EXPECT_EQ(back->writtenAtMs, original.writtenAtMs);
        EXPECT_EQ(back->pid, original.pid);
        EXPECT_EQ(back->path, original.path);
        EXPECT_EQ(back->layout, original.layout);
        EXPECT_EQ(back->source, original.source);
        EXPECT_EQ(back->storageKind, original.storageKind);
        EXPECT_EQ(back->storageBytes, original.storageBytes);
        EXPECT_EQ(std::tie(back->databaseUrl, back->databaseTable, back->databaseKey, back->databaseColumn,
                           back->databaseOwner, back->databaseOriginal),
                  std::tie(original.databaseUrl, original.databaseTable, original.databaseKey, original.databaseColumn,
                           original.databaseOwner, original.databaseOriginal));
        ASSERT_EQ(back->entries, original.entries) << round;
        for (size_t e = 0; e < back->entries.size(); ++e)
            EXPECT_EQ(back->entries[e].origin, original.entries[e].origin);
        // Cut short anywhere, or grown, it is no recovery.
        for (size_t cut = 0; cut < bytes.size(); cut += 1 + bytes.size() / 40)
            EXPECT_FALSE(decodeRecovery(bytes.substr(0, cut))) << round << " cut at " << cut;
        EXPECT_FALSE(decodeRecovery(bytes + "0:\n"));
    }
    EXPECT_FALSE(decodeRecovery("Vaultsmith recovery 1\n4:list\n99999999999999999999:x\n"));
    EXPECT_FALSE(decodeRecovery("Vaultsmith recovery 2\n"));
}

TEST(Recovery, ARestoredFileIsSavedAsTheEditedFileWouldHaveBeen)
{
    VS_REQUIRE_CORPUS();
    for (const char* name : {"shop1.txt", "EventItemBag4.txt", "EventItemBag.txt"}) {
        const std::string bytes = test::readBytes(test::corpusDir() / name);
        const FileLayout& layout = detectLayout(bytes, name[0] == 's' ? 0 : 1);
        ListFile file = readListFile(bytes, layout);
        // Edited: one item changed, one entry gone, a new one in the middle.
        for (ListEntry& entry : file.entries)
            if (entry.kind == kItemEntry) {
                entry.text.insert(0, "1");
                break;
            }
        file.entries.erase(file.entries.begin() + 3);
        file.entries.insert(file.entries.begin() + 5, ListEntry("// new", kCommentEntry));
        const std::string wouldSave = writeListFile(file.entries, layout, file.source.get());

        Recovery recovery;
        recovery.layout = layout.name;
        recovery.source = file.source->bytes;
        recovery.entries = file.entries;
        const std::optional<Recovery> back = decodeRecovery(encodeRecovery(recovery));
        ASSERT_TRUE(back);
        const FileLayout& restoredLayout = *layoutByName(back->layout);
        const ListFile reread = readListFile(back->source, restoredLayout);
        EXPECT_EQ(writeListFile(back->entries, restoredLayout, reread.source.get()), wouldSave) << name;
    }
}

}  // namespace
}  // namespace vs
