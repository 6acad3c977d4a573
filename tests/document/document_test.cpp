// The document over random sequences of operations, against a plain vector
// of entries given the same operations: the rows, what listeners hear, undo
// and redo of every step, and the file Save writes.
#include "document/document.h"
#include "document/list_reader.h"
#include "document/list_writer.h"

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>

namespace vs {
namespace {

// Rebuilds the rows from what it hears alone, as a view does: it reads the
// document only where a notification says rows changed.
class MirrorListener : public DocumentListener {
public:
    explicit MirrorListener(const Document& document) : document_(document), rows(document.entries()) {}

    void aboutToChange(const DocumentChange& change) override
    {
        ASSERT_FALSE(pending_) << "two changes began without one ending";
        pending_ = true;
        sizeBefore_ = document_.size();
        if (change.kind == DocumentChange::Removed) {
            ASSERT_LE(change.first + change.count, sizeBefore_);
        }
    }
    void changed(const DocumentChange& change) override
    {
        ASSERT_TRUE(pending_) << "a change ended that never began";
        pending_ = false;
        ++heard;
        switch (change.kind) {
        case DocumentChange::Inserted:
            ASSERT_EQ(document_.size(), sizeBefore_ + change.count);
            rows.insert(rows.begin() + change.first, document_.entries().begin() + change.first,
                        document_.entries().begin() + change.first + change.count);
            break;
        case DocumentChange::Removed:
            ASSERT_EQ(document_.size(), sizeBefore_ - change.count);
            rows.erase(rows.begin() + change.first, rows.begin() + change.first + change.count);
            break;
        case DocumentChange::Changed:
            for (int r = change.first; r < change.first + change.count; ++r)
                rows[static_cast<size_t>(r)] = document_.at(r);
            break;
        case DocumentChange::Moved: {
            ListEntry moved = rows[static_cast<size_t>(change.first)];
            rows.erase(rows.begin() + change.first);
            rows.insert(rows.begin() + change.to, std::move(moved));
            break;
        }
        case DocumentChange::Reset:
            rows = document_.entries();
            break;
        }
    }

    const Document& document_;
    EntryList rows;
    int heard = 0;

private:
    bool pending_ = false;
    int sizeBefore_ = 0;
};

bool sameRows(const EntryList& a, const EntryList& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]) || a[i].origin != b[i].origin)
            return false;
    return true;
}

ListEntry randomEntry(std::mt19937& random)
{
    static const char* const texts[] = {"14,3,0,255,0,0,0,Potion", "//", "", "0,1,2,3,4,5,6", "end", "// kept"};
    const int pick = static_cast<int>(random() % std::size(texts));
    const int kind = pick == 2 ? kBlankEntry : pick == 0 || pick == 3 ? kItemEntry : kCommentEntry;
    ItemRemainder rest;
    if (kind == kItemEntry && random() % 3 == 0)
        rest.fields.push_back(std::to_string(random() % 64));
    return ListEntry(texts[pick], kind, rest);
}

// One random operation on both the document and the plain vector.
DocumentEdit randomOperation(std::mt19937& random, Document& document, EntryList& plain)
{
    const int size = document.size();
    switch (random() % 5) {
    case 0: {
        const int at = static_cast<int>(random() % static_cast<unsigned>(size + 1));
        EntryList added;
        for (unsigned n = random() % 3 + 1; n > 0; --n)
            added.push_back(randomEntry(random));
        plain.insert(plain.begin() + at, added.begin(), added.end());
        return document.insert(at, std::move(added));
    }
    case 1: {
        if (size == 0)
            break;
        const int at = static_cast<int>(random() % static_cast<unsigned>(size));
        const int count = static_cast<int>(random() % static_cast<unsigned>(size - at + 1));
        plain.erase(plain.begin() + at, plain.begin() + at + count);
        return document.remove(at, count);
    }
    case 2: {
        if (size == 0)
            break;
        const int at = static_cast<int>(random() % static_cast<unsigned>(size));
        ListEntry entry = randomEntry(random);
        plain[static_cast<size_t>(at)] = entry;
        return document.replace(at, std::move(entry));
    }
    case 3: {
        if (size == 0)
            break;
        const int from = static_cast<int>(random() % static_cast<unsigned>(size));
        const int to = static_cast<int>(random() % static_cast<unsigned>(size));
        ListEntry moved = plain[static_cast<size_t>(from)];
        plain.erase(plain.begin() + from);
        plain.insert(plain.begin() + to, std::move(moved));
        return document.move(from, to);
    }
    default:
        break;
    }
    EntryList all;
    for (unsigned n = random() % 4; n > 0; --n)
        all.push_back(randomEntry(random));
    plain = all;
    return document.replaceAll(std::move(all));
}

TEST(Document, RandomOperationsMatchAPlainVectorAndUndoToWhereTheyBegan)
{
    const std::string file = "// heading\r\n14,3,0,255,0,0,0,Potion\r\n\r\n0,1,2,3,4,5,6,Kris,9\r\nend\r\n";
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        ListFile read = readListFile(file, 0);
        Document document;
        document.reset(read.entries, read.source, specLayout(0));
        EntryList plain = read.entries;
        MirrorListener mirror(document);
        document.addListener(&mirror);

        std::vector<DocumentEdit> history;
        std::vector<EntryList> states{plain};
        for (int step = 0; step < 12; ++step) {
            history.push_back(randomOperation(random, document, plain));
            states.push_back(plain);
            ASSERT_TRUE(sameRows(document.entries(), plain)) << "seed " << seed << " step " << step;
            ASSERT_TRUE(sameRows(mirror.rows, plain)) << "listener lost track, seed " << seed << " step " << step;
        }
        // Save of the document is Save of the same entries built directly.
        EXPECT_EQ(document.fileBytes(), writeListFile(plain, specLayout(0), read.source.get())) << "seed " << seed;

        // Undo, step by step, passes through every earlier state; redo comes back.
        for (size_t i = history.size(); i-- > 0;) {
            document.apply(history[i], false);
            ASSERT_TRUE(sameRows(document.entries(), states[i])) << "undo, seed " << seed << " step " << i;
        }
        ASSERT_EQ(document.fileBytes(), file) << "undone to the file as it was read, seed " << seed;
        for (size_t i = 0; i < history.size(); ++i)
            document.apply(history[i], true);
        ASSERT_TRUE(sameRows(document.entries(), plain)) << "redo, seed " << seed;
        ASSERT_TRUE(sameRows(mirror.rows, plain)) << "listener after undo and redo, seed " << seed;
        document.removeListener(&mirror);
    }
}

// The line each row is written on.
std::vector<int> savedLines(const Document& document)
{
    std::vector<int> lines;
    document.fileBytes(&lines);
    return lines;
}

TEST(Document, SavedLinesCountRecordsThatShareALineOnce)
{
    ListFile read = readListFile("// a\r\n0 3 0 40 0 0 0,1 1 0 19 0 0 0\r\nend\r\n", 0);
    Document document;
    document.reset(read.entries, read.source, specLayout(0));
    ASSERT_EQ(document.size(), 4);
    EXPECT_EQ(savedLines(document), std::vector<int>({1, 2, 2, 3}));
    document.insert(0, {ListEntry("// new", kCommentEntry)});
    EXPECT_EQ(savedLines(document), std::vector<int>({1, 2, 3, 3, 4}));
    // A changed record no longer shares its line: each is written on one of its own.
    document.replace(2, ListEntry("0,3,0,41,0,0,0", kItemEntry));
    EXPECT_EQ(savedLines(document), std::vector<int>({1, 2, 3, 4, 5}));
}

TEST(Document, RowsOutOfRangeAreRefusedAndChangeNothing)
{
    Document document;
    document.reset({ListEntry("a", kCommentEntry), ListEntry("b", kCommentEntry)}, nullptr, specLayout(1));
    MirrorListener mirror(document);
    document.addListener(&mirror);
    EXPECT_THROW(document.insert(3, {ListEntry()}), std::out_of_range);
    EXPECT_THROW(document.insert(-1, {ListEntry()}), std::out_of_range);
    EXPECT_THROW(document.remove(1, 2), std::out_of_range);
    EXPECT_THROW(document.replace(2, ListEntry()), std::out_of_range);
    EXPECT_THROW(document.move(0, 2), std::out_of_range);
    EXPECT_EQ(mirror.heard, 0);
    EXPECT_EQ(document.size(), 2);
    EXPECT_EQ(document.layout().id, specLayout(1).id);
    // Empty edits tell nobody: a view has nothing to redraw.
    document.remove(1, 0);
    document.insert(2, {});
    document.move(1, 1);
    EXPECT_EQ(mirror.heard, 0);
}

}  // namespace
}  // namespace vs
