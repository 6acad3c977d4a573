#include "window/storage_change.h"

#include "window/form_storage.h"

namespace vs {

StorageChange::StorageChange(formStorage& form, const QString& caption, std::vector<StorageSlot> before,
                             std::vector<StorageSlot> after, int selectedBefore, int selectedAfter, bool editorEdit)
    : QUndoCommand(caption),
      form_(form),
      before_(std::move(before)),
      after_(std::move(after)),
      selectedBefore_(selectedBefore),
      selectedAfter_(selectedAfter),
      editorEdit_(editorEdit)
{
}

void StorageChange::undo()
{
    form_.restore(before_, selectedBefore_);
}

void StorageChange::redo()
{
    if (done_) {
        done_ = false;
        return;
    }
    form_.restore(after_, selectedAfter_);
}

bool StorageChange::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const StorageChange*>(other);
    if (!next || !next->editorEdit_ || next->selectedBefore_ != selectedAfter_)
        return false;
    after_ = next->after_;
    selectedAfter_ = next->selectedAfter_;
    return true;
}

}  // namespace vs
