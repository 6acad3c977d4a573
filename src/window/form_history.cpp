// The list's history: every change to its rows as a step that can be undone,
// and the question about unsaved changes.
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/entry_list_model.h"
#include "window/form_problems.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QListView>
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
    undoStack_->push(new ListChange(document_, *this, caption, std::move(pendingEdits_), pendingSelectedBefore_,
                                    selectedRow(), false));
    pendingEdits_.clear();
}

void formTolvane::recordEdit(DocumentEdit edit)
{
    if (changeDepth_ > 0) {
        pendingEdits_.push_back(std::move(edit));
        return;
    }
    // An edit of the selected entry through the editor or the comment box.
    const int row = edit.row;
    std::vector<DocumentEdit> edits;
    edits.push_back(std::move(edit));
    undoStack_->push(new ListChange(document_, *this, "Edit Entry", std::move(edits), row, row, true));
}

void formTolvane::insertRow(int at, const ListEntry& entry)
{
    recordEdit(document_.insert(at, {entry}));
}

void formTolvane::removeRows(int at, int count)
{
    if (count > 0)  // nothing removed is no step
        recordEdit(document_.remove(at, count));
}

void formTolvane::setRow(int at, const ListEntry& entry)
{
    const ListEntry& before = document_.at(at);
    if (before == entry && before.origin == entry.origin)
        return;  // nothing changes, and no step is recorded
    recordEdit(document_.replace(at, entry));
}

void formTolvane::moveRow(int from, int to)
{
    if (from != to)
        recordEdit(document_.move(from, to));
}

void formTolvane::aboutToChange(const DocumentChange&)
{
    // Inserting or taking rows moves the selection along; the command that
    // made the edit sets it afterwards.
    ++quietSelection_;
}

void formTolvane::changed(const DocumentChange& change)
{
    --quietSelection_;
    // Another document (a file opened, read again, restored): the last check's findings go.
    if (change.kind == DocumentChange::Reset && problems_)
        problems_->clearFindings(checkedFileName(), layoutCaption());
    checkStale_ = change.kind != DocumentChange::Reset;
    gridStale_ = true;
    listViewsChanged();
}

void formTolvane::dropSelectionQuietly()
{
    ++quietSelection_;
    lstShop->selectionModel()->clear();
    --quietSelection_;
}

void formTolvane::setListRow(int row)
{
    if (row < 0 || row >= document_.size())
        lstShop->selectionModel()->clear();
    else
        lstShop->selectionModel()->setCurrentIndex(listModel_->index(row), QItemSelectionModel::ClearAndSelect);
}

void formTolvane::showSelection(int row)
{
    dropSelectionQuietly();
    if (row >= 0 && row < document_.size())
        setListRow(row);  // loads the entry into the editor, writing nothing
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
