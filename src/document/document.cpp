#include "document/document.h"

#include "document/list_reader.h"
#include "document/list_writer.h"

#include <algorithm>
#include <stdexcept>

namespace vs {

namespace {

void need(bool inRange, const char* what)
{
    if (!inRange)
        throw std::out_of_range(std::string("Document: ") + what + " out of range");
}

}  // namespace

Document::Document() : layout_(&specLayout(0)) {}

Document::~Document() = default;

void Document::reset(EntryList entries, std::shared_ptr<const SourceText> source, const FileLayout& layout)
{
    const DocumentChange change{DocumentChange::Reset};
    tell(true, change);
    entries_ = std::move(entries);
    source_ = std::move(source);
    layout_ = &layout;
    tell(false, change);
}

void Document::setLayout(const FileLayout& layout)
{
    layout_ = &layout;
}

DocumentEdit Document::insert(int at, EntryList entries)
{
    need(at >= 0 && at <= size(), "insert");
    DocumentEdit edit{DocumentEdit::Insert, at, 0, {}, std::move(entries)};
    doInsert(at, edit.after);
    return edit;
}

DocumentEdit Document::remove(int at, int count)
{
    need(at >= 0 && count >= 0 && count <= size() - at, "remove");
    const auto first = entries_.begin() + at;
    DocumentEdit edit{DocumentEdit::Remove, at, 0, EntryList(first, first + count), {}};
    doRemove(at, count);
    return edit;
}

DocumentEdit Document::replace(int at, ListEntry entry)
{
    need(at >= 0 && at < size(), "replace");
    DocumentEdit edit{DocumentEdit::Replace, at, 0, {entries_[static_cast<size_t>(at)]}, {std::move(entry)}};
    doReplace(at, edit.after);
    return edit;
}

DocumentEdit Document::move(int from, int to)
{
    need(from >= 0 && from < size() && to >= 0 && to < size(), "move");
    doMove(from, to);
    return {DocumentEdit::Move, from, to, {}, {}};
}

DocumentEdit Document::replaceAll(EntryList entries)
{
    DocumentEdit edit{DocumentEdit::ReplaceAll, 0, 0, entries_, std::move(entries)};
    doReplaceAll(edit.after);
    return edit;
}

void Document::apply(const DocumentEdit& edit, bool forward)
{
    switch (edit.op) {
    case DocumentEdit::Insert:
        forward ? doInsert(edit.row, edit.after) : doRemove(edit.row, static_cast<int>(edit.after.size()));
        break;
    case DocumentEdit::Remove:
        forward ? doRemove(edit.row, static_cast<int>(edit.before.size())) : doInsert(edit.row, edit.before);
        break;
    case DocumentEdit::Replace:
        doReplace(edit.row, forward ? edit.after : edit.before);
        break;
    case DocumentEdit::Move:
        forward ? doMove(edit.row, edit.to) : doMove(edit.to, edit.row);
        break;
    case DocumentEdit::ReplaceAll:
        doReplaceAll(forward ? edit.after : edit.before);
        break;
    }
}

std::string Document::fileBytes(std::vector<int>* lines) const
{
    return writeListFile(entries_, *layout_, source_.get(), SaveStyle::KeepLines, lines);
}

void Document::addListener(DocumentListener* listener)
{
    listeners_.push_back(listener);
}

void Document::removeListener(DocumentListener* listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Document::tell(bool before, const DocumentChange& change)
{
    // A listener may leave while it hears of a change: walk a copy.
    // The first to hear that a change begins is the last to hear it is done,
    // so that a listener can bracket what those after it do.
    const std::vector<DocumentListener*> listeners = listeners_;
    if (before)
        for (DocumentListener* listener : listeners)
            listener->aboutToChange(change);
    else
        for (auto it = listeners.rbegin(); it != listeners.rend(); ++it)
            (*it)->changed(change);
}

void Document::doInsert(int at, const EntryList& entries)
{
    if (entries.empty())
        return;
    const DocumentChange change{DocumentChange::Inserted, at, static_cast<int>(entries.size())};
    tell(true, change);
    entries_.insert(entries_.begin() + at, entries.begin(), entries.end());
    tell(false, change);
}

void Document::doRemove(int at, int count)
{
    if (count == 0)
        return;
    const DocumentChange change{DocumentChange::Removed, at, count};
    tell(true, change);
    entries_.erase(entries_.begin() + at, entries_.begin() + at + count);
    tell(false, change);
}

void Document::doReplace(int at, const EntryList& entries)
{
    const DocumentChange change{DocumentChange::Changed, at, static_cast<int>(entries.size())};
    tell(true, change);
    std::copy(entries.begin(), entries.end(), entries_.begin() + at);
    tell(false, change);
}

void Document::doMove(int from, int to)
{
    if (from == to)
        return;
    const DocumentChange change{DocumentChange::Moved, from, 1, to};
    tell(true, change);
    const auto a = entries_.begin() + from;
    const auto b = entries_.begin() + to;
    if (from < to)
        std::rotate(a, a + 1, b + 1);
    else
        std::rotate(b, a, a + 1);
    tell(false, change);
}

void Document::doReplaceAll(const EntryList& entries)
{
    const DocumentChange change{DocumentChange::Reset};
    tell(true, change);
    entries_ = entries;
    tell(false, change);
}

}  // namespace vs
