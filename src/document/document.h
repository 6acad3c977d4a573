#pragma once

#include "document/file_layout.h"
#include "document/list_entry.h"

#include <memory>
#include <string>
#include <vector>

namespace vs {

struct SourceText;

// What one operation changed, as the document's listeners hear of it.
// Inserted, Removed, Changed: `count` rows from `first` (Removed: as they
// stood before). Moved: the row at `first` now stands at `to`. Reset: every
// row may have changed, and their number too.
struct DocumentChange {
    enum Kind { Inserted, Removed, Changed, Moved, Reset };
    Kind kind = Reset;
    int first = 0;
    int count = 0;
    int to = 0;
};

// Hears of every change: `aboutToChange` before the rows change (a view
// still sees them as they were), `changed` after. Listeners hear
// `aboutToChange` in the order they were added and `changed` in the reverse.
class DocumentListener {
public:
    virtual ~DocumentListener() = default;
    virtual void aboutToChange(const DocumentChange&) {}
    virtual void changed(const DocumentChange&) = 0;
};

// One operation as it was made, enough to make it again or take it back.
struct DocumentEdit {
    enum Op { Insert, Remove, Replace, Move, ReplaceAll };
    Op op = Replace;
    int row = 0;       // the first row it touches; Move: the row moved
    int to = 0;        // Move: where the row ends up
    EntryList before;  // Remove, Replace, ReplaceAll: the rows as they were
    EntryList after;   // Insert, Replace, ReplaceAll: the rows as they became
};

// A list document: its entries, the bytes they were read from (so that
// unchanged lines are written back byte for byte) and its layout. Every
// change goes through the operations below, and every listener hears of it.
// The document keeps no history of its own: the edits the operations return
// are what an undo history keeps.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // A new document in place of this one (a file opened, a recovery
    // restored, the list cleared for a new file): listeners hear Reset.
    void reset(EntryList entries, std::shared_ptr<const SourceText> source, const FileLayout& layout);
    // The layout its rows are read in from now on; the rows stay.
    void setLayout(const FileLayout& layout);

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const ListEntry& at(int row) const { return entries_[static_cast<size_t>(row)]; }
    const EntryList& entries() const { return entries_; }
    const SourceText* source() const { return source_.get(); }
    const std::shared_ptr<const SourceText>& sharedSource() const { return source_; }
    const FileLayout& layout() const { return *layout_; }

    // The operations. Each makes its change, tells the listeners and returns
    // what it did; a row out of range throws std::out_of_range and changes nothing.
    DocumentEdit insert(int at, EntryList entries);
    DocumentEdit remove(int at, int count);
    DocumentEdit replace(int at, ListEntry entry);
    // The row at `from` ends up at `to`, the rows between moving by one.
    DocumentEdit move(int from, int to);
    DocumentEdit replaceAll(EntryList entries);
    // Makes the edit again (forward) or takes it back, telling the listeners.
    void apply(const DocumentEdit& edit, bool forward);

    // The file as Save writes it; with `lines`, the 1-based line each row
    // stands on in it (rows kept together on one line share its number).
    std::string fileBytes(std::vector<int>* lines = nullptr) const;

    void addListener(DocumentListener* listener);
    void removeListener(DocumentListener* listener);

private:
    void tell(bool before, const DocumentChange& change);
    void doInsert(int at, const EntryList& entries);
    void doRemove(int at, int count);
    void doReplace(int at, const EntryList& entries);
    void doMove(int from, int to);
    void doReplaceAll(const EntryList& entries);

    EntryList entries_;
    std::shared_ptr<const SourceText> source_;
    const FileLayout* layout_;
    std::vector<DocumentListener*> listeners_;
};

}  // namespace vs
