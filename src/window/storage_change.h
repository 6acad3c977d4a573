#pragma once

#include "storage/storage.h"

#include <QUndoCommand>
#include <vector>

namespace vs {

class formStorage;

// One step of a storage's history: its slots before and after a change, and
// the item chosen before and after it. Edits of one item through the editor,
// one after another, merge into one step.
class StorageChange : public QUndoCommand {
public:
    StorageChange(formStorage& form, const QString& caption, std::vector<StorageSlot> before,
                  std::vector<StorageSlot> after, int selectedBefore, int selectedAfter, bool editorEdit);

    void undo() override;
    void redo() override;
    int id() const override { return editorEdit_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    formStorage& form_;
    std::vector<StorageSlot> before_;
    std::vector<StorageSlot> after_;
    int selectedBefore_;
    int selectedAfter_;
    bool editorEdit_;
    bool done_ = true;  // the change was made before the step was recorded
};

}  // namespace vs
