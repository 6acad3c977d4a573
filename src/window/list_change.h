#pragma once

#include "document/document.h"

#include <QUndoCommand>
#include <vector>

namespace vs {

// What a step of the list's history needs of the window besides the document.
class ListRows {
public:
    virtual ~ListRows() = default;
    // Selects the row (or none for -1) and shows it in the editor, writing nothing.
    virtual void showSelection(int row) = 0;
};

// One step of the list's history: the document's edits a command made, in
// order, and the selection before and after it. Edits of one entry through
// the editor or the comment box, one after another, merge into one step.
class ListChange : public QUndoCommand {
public:
    ListChange(Document& document, ListRows& rows, const QString& caption, std::vector<DocumentEdit> edits,
               int selectedBefore, int selectedAfter, bool entryEdit);

    void undo() override;
    void redo() override;
    int id() const override { return entryEdit_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    Document& document_;
    ListRows& rows_;
    std::vector<DocumentEdit> edits_;
    int selectedBefore_;
    int selectedAfter_;
    bool entryEdit_;
    bool done_ = true;  // the edits were made before the step was recorded
};

}  // namespace vs
