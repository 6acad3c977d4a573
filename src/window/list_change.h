#pragma once

#include "document/list_entry.h"

#include <QUndoCommand>
#include <vector>

namespace vs {

// One change to one row of the list.
struct RowEdit {
    enum Op { Insert, Remove, Set };
    Op op = Set;
    int row = 0;
    ListEntry before;  // the row as it was (Remove, Set)
    ListEntry after;   // the row as it becomes (Insert, Set)
};

// What a change needs of the list it changes.
class ListRows {
public:
    virtual ~ListRows() = default;
    // Makes the edit (forward) or takes it back.
    virtual void applyRowEdit(const RowEdit& edit, bool forward) = 0;
    // Selects the row (or none for -1) and shows it in the editor, writing nothing.
    virtual void showSelection(int row) = 0;
};

// One step of the list's history: the row edits a command made, in order,
// and the selection before and after it. Edits of one entry through the
// editor or the comment box, one after another, merge into one step.
class ListChange : public QUndoCommand {
public:
    ListChange(ListRows& rows, const QString& caption, std::vector<RowEdit> edits, int selectedBefore,
               int selectedAfter, bool entryEdit);

    void undo() override;
    void redo() override;
    int id() const override { return entryEdit_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    ListRows& rows_;
    std::vector<RowEdit> edits_;
    int selectedBefore_;
    int selectedAfter_;
    bool entryEdit_;
    bool done_ = true;  // the edits were made before the step was recorded
};

}  // namespace vs
