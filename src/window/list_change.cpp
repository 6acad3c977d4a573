#include "window/list_change.h"

namespace vs {

ListChange::ListChange(Document& document, ListRows& rows, const QString& caption, std::vector<DocumentEdit> edits,
                       int selectedBefore, int selectedAfter, bool entryEdit)
    : QUndoCommand(caption),
      document_(document),
      rows_(rows),
      edits_(std::move(edits)),
      selectedBefore_(selectedBefore),
      selectedAfter_(selectedAfter),
      entryEdit_(entryEdit)
{
}

void ListChange::undo()
{
    for (auto it = edits_.rbegin(); it != edits_.rend(); ++it)
        document_.apply(*it, false);
    done_ = false;
    rows_.showSelection(selectedBefore_);
}

void ListChange::redo()
{
    if (done_)
        return;  // recorded after the command made its edits
    for (const DocumentEdit& edit : edits_)
        document_.apply(edit, true);
    done_ = true;
    rows_.showSelection(selectedAfter_);
}

bool ListChange::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ListChange*>(other);
    const auto oneReplace = [](const std::vector<DocumentEdit>& edits) {
        return edits.size() == 1 && edits[0].op == DocumentEdit::Replace && edits[0].after.size() == 1;
    };
    if (!oneReplace(edits_) || !oneReplace(next->edits_) || edits_[0].row != next->edits_[0].row)
        return false;
    edits_[0].after = next->edits_[0].after;
    selectedAfter_ = next->selectedAfter_;
    // An entry edited back to what it was leaves no step behind.
    const ListEntry& before = edits_[0].before[0];
    const ListEntry& after = edits_[0].after[0];
    setObsolete(before == after && before.origin == after.origin);
    return true;
}

}  // namespace vs
