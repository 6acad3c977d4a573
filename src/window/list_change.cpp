#include "window/list_change.h"

namespace vs {

ListChange::ListChange(ListRows& rows, const QString& caption, std::vector<RowEdit> edits, int selectedBefore,
                       int selectedAfter, bool entryEdit)
    : QUndoCommand(caption),
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
        rows_.applyRowEdit(*it, false);
    done_ = false;
    rows_.showSelection(selectedBefore_);
}

void ListChange::redo()
{
    if (done_)
        return;  // recorded after the command made its edits
    for (const RowEdit& edit : edits_)
        rows_.applyRowEdit(edit, true);
    done_ = true;
    rows_.showSelection(selectedAfter_);
}

bool ListChange::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ListChange*>(other);
    if (edits_.size() != 1 || next->edits_.size() != 1 || edits_[0].op != RowEdit::Set ||
        next->edits_[0].op != RowEdit::Set || edits_[0].row != next->edits_[0].row)
        return false;
    edits_[0].after = next->edits_[0].after;
    selectedAfter_ = next->selectedAfter_;
    // An entry edited back to what it was leaves no step behind.
    setObsolete(edits_[0].before == edits_[0].after && edits_[0].before.origin == edits_[0].after.origin);
    return true;
}

}  // namespace vs
