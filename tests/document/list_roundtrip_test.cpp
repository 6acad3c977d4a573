// Random list files: reading and writing never loses a kept line and settles.
#include "document/list_reader.h"
#include "document/list_writer.h"

#include <gtest/gtest.h>
#include <random>

namespace vs {
namespace {

// Lines built from the pieces list files are made of, joined by every kind of line end.
std::string randomFile(std::mt19937& random)
{
    static const char* const pieces[] = {"14", "3", " ", "\t", "//", "Potion", ",", "end", "-1", "1.5",
                                         "x", "\xE9", "\x01", "", "0", "  ", "abc", "/", "255", "\""};
    static const char* const ends[] = {"\r\n", "\n", "\r"};
    std::string bytes;
    const int lines = static_cast<int>(random() % 12);
    for (int l = 0; l < lines; ++l) {
        const int count = static_cast<int>(random() % 9);
        for (int p = 0; p < count; ++p)
            bytes += pieces[random() % std::size(pieces)];
        bytes += ends[random() % std::size(ends)];
    }
    return bytes;
}

std::string normalize(const std::string& bytes, int editMode)
{
    return writeListFile(readListFile(bytes, editMode), editMode);
}

TEST(ListRoundTrip, KeptEntriesSurviveAndTheFileSettles)
{
    std::mt19937 random(2026);
    for (int round = 0; round < 3000; ++round) {
        const std::string source = randomFile(random);
        const int editMode = static_cast<int>(random() % 2);
        const EntryList entries = readListFile(source, editMode);
        const std::string once = writeListFile(entries, editMode);
        // Blank and comment entries come back as they were read.
        EntryList again = readListFile(once, editMode);
        size_t at = 0;
        for (const ListEntry& entry : entries) {
            if (entry.kind == kItemEntry)
                continue;
            while (at < again.size() && again[at].kind == kItemEntry)
                ++at;
            ASSERT_LT(at, again.size()) << "round " << round;
            EXPECT_EQ(again[at].text, entry.text) << "round " << round;
            ++at;
        }
        // An empty comment is written as a trailing separator and then read as none,
        // so a file settles after its second save.
        const std::string twice = normalize(once, editMode);
        EXPECT_EQ(normalize(twice, editMode), twice) << "round " << round;
    }
}

}  // namespace
}  // namespace vs
