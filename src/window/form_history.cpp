// The list's history: every change to its rows as a step that can be undone,
// and the question about unsaved changes.
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/list_rows.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <QUndoStack>

namespace vs {

void formTolvane::beginListChange()
{
    if (changeDepth_++ == 0) {
        pendingEdits_.clear();
        pendingSelectedBefore_ = selectedRow();
    }
}

void formTolvane::endListChange(const QString& caption)
{
    if (--changeDepth_ > 0 || pendingEdits_.empty())
        return;
    leaveStorageItem();  // a command on the list: Undo takes it back, not a storage's edit
    undoStack_->push(new ListChange(*this, caption, std::move(pendingEdits_), pendingSelectedBefore_,
                                    selectedRow(), false));
    pendingEdits_.clear();
}

void formTolvane::recordRowEdit(RowEdit edit)
{
    applyRowEdit(edit, true);
    if (changeDepth_ > 0) {
        pendingEdits_.push_back(std::move(edit));
        return;
    }
    // An edit of the selected entry through the editor or the comment box.
    const int row = edit.row;
    std::vector<RowEdit> edits;
    edits.push_back(std::move(edit));
    undoStack_->push(new ListChange(*this, "Edit Entry", std::move(edits), row, row, true));
}

void formTolvane::insertRow(int at, const ListEntry& entry)
{
    recordRowEdit({RowEdit::Insert, at, {}, entry});
}

void formTolvane::removeRow(int at)
{
    recordRowEdit({RowEdit::Remove, at, rowEntry(lstShop->item(at)), {}});
}

void formTolvane::setRow(int at, const ListEntry& entry)
{
    ListEntry before = rowEntry(lstShop->item(at));
    if (before == entry && before.origin == entry.origin)
        return;  // nothing changes, and no step is recorded
    recordRowEdit({RowEdit::Set, at, std::move(before), entry});
}

void formTolvane::applyRowEdit(const RowEdit& edit, bool forward)
{
    // Inserting or taking a row moves the selection along; the command that
    // made the edit sets it afterwards.
    const QSignalBlocker quiet(lstShop);
    const bool inserting = (edit.op == RowEdit::Insert) == forward;
    if (edit.op == RowEdit::Set) {
        showRowEntry(lstShop->item(edit.row), forward ? edit.after : edit.before, docEncoding_);
    } else if (inserting) {
        auto* row = new QListWidgetItem;
        showRowEntry(row, edit.op == RowEdit::Insert ? edit.after : edit.before, docEncoding_);
        lstShop->insertItem(edit.row, row);
    } else {
        delete lstShop->takeItem(edit.row);
    }
    listViewsChanged();
}

void formTolvane::showSelection(int row)
{
    {
        const QSignalBlocker quiet(lstShop);
        lstShop->setCurrentRow(-1);
    }
    if (row >= 0 && row < lstShop->count())
        lstShop->setCurrentRow(row);  // loads the entry into the editor, writing nothing
}

QString formTolvane::caption() const
{
    QString text = windowTitle();
    return text.remove("[*]");
}

bool formTolvane::maySetListAside()
{
    if (!undoStack_ || undoStack_->isClean())
        return true;
    const QString name = currFile.isEmpty() ? QString("the list") : QFileInfo(currFile).fileName();
    switch (dialogs_.askSaveChanges(this, caption(), "Save the changes to " + name + "?")) {
    case SaveAnswer::Save:
        if (currFile.isEmpty()) {
            mnuSaveAs_Click();
            return undoStack_->isClean();
        }
        return saveFile(currFile);
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void formTolvane::closeEvent(QCloseEvent* event)
{
    if (maySetStoragesAside() && maySetListAside()) {
        // The storage windows go with the main window, without asking again.
        for (QWidget* storage : findChildren<formStorage*>())
            storage->hide();
        savePosition();
        removeRecoveries();  // nothing is left unsaved
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace vs
