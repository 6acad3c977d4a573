// The list of entries: its commands, keys and mouse, and loading the chosen entry.
#include "code_manager/code_manager.h"
#include "document/list_entry.h"
#include "document/list_reader.h"
#include "window/list_selector.h"
#include "window/form_shop_grid.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressDialog>

namespace vs {

int formTolvane::selectedRow() const
{
    const QModelIndex current = lstShop->currentIndex();
    return current.isValid() && lstShop->selectionModel()->isSelected(current) ? current.row() : -1;
}

void formTolvane::shopAddItem(int kind)
{
    std::string text;
    if (kind == kItemEntry)
        text = theItem->getEntryCode(",") + "," + commentText();
    else if (kind == kCommentEntry)
        text = "//";
    const int at = newEntryPosition();
    insertRow(at, ListEntry(std::move(text), kind));
    dropSelectionQuietly();
    setListRow(at);
}

int formTolvane::newEntryPosition() const
{
    const int count = document_.size();
    const int selected = selectedRow();
    const int at = (selected < 0 || selected == count - 1) ? count : selected;
    // The rows the server reads as items: a shop's up to its first "end", a
    // file in sections those of its items section. A new row outside them
    // goes to the end of them, above the "end".
    SectionTracker sections(layout());
    int first = -1;
    for (int r = 0; r < count; ++r) {
        const SectionPlace place = sections.place();
        if (place == SectionPlace::Items && first < 0)
            first = r;
        const ListEntry& row = document_.at(r);
        if (row.kind != kItemEntry)
            sections.step(row.text);
        if (first >= 0 && sections.place() != SectionPlace::Items)
            return at >= first && at <= r ? at : r;
    }
    return at;
}

void formTolvane::cmdShopNew_Click()
{
    beginListChange();
    theItem->isNewItem = true;
    shopAddItem(kItemEntry);
    theItem->isNewItem = false;
    endListChange("Add Item");
    tellUser(StatusColor::White, "Add Item> Item Added: " + documentText(document_.at(selectedRow()).text));
}

void formTolvane::cmdShopRemove_Click()
{
    const int i = selectedRow();
    if (i < 0) {
        tellUser(StatusColor::Yellow, QString(document_.empty() ? "Delete Item> The list is empty."
                                                                    : "Delete Item> Please select an item first."));
        return;
    }
    beginListChange();
    const QString text = documentText(document_.at(i).text);
    removeRows(i, 1);
    dropSelectionQuietly();
    const int count = document_.size();
    if (i == 0) {
        if (count > 0)
            setListRow(0);
    } else {
        setListRow(i == count ? i - 1 : i);
    }
    endListChange("Remove Item");
    tellUser(StatusColor::White, "Delete Item> Item Removed: " + text);
}

void formTolvane::cmdShopItemShiftU_Click()
{
    const int i = selectedRow();
    if (i <= 0)
        return;
    beginListChange();
    // The whole entry moves: text, kind, remainder and origin.
    moveRow(i, i - 1);
    allowUpdate = false;
    setListRow(i - 1);
    allowUpdate = true;
    endListChange("Move Up");
}

void formTolvane::cmdShopItemShiftD_Click()
{
    const int i = selectedRow();
    if (i < 0 || i >= document_.size() - 1)
        return;
    beginListChange();
    moveRow(i, i + 1);
    allowUpdate = false;
    setListRow(i + 1);
    allowUpdate = true;
    endListChange("Move Down");
}

void formTolvane::mnuBlank_Click()
{
    beginListChange();
    shopAddItem(kBlankEntry);
    endListChange("Add Blank Line");
    tellUser(StatusColor::White, QString("Load Blank Line> Blank line added."));
}

void formTolvane::mnuComment_Click()
{
    beginListChange();
    shopAddItem(kCommentEntry);
    endListChange("Add Comment Line");
    tellUser(StatusColor::White, QString("Load Comment Text> Comment line added."));
}

void formTolvane::mnuClearList_Click()
{
    if (!dialogs_.askYesNo(this, "Clear Prompt", "Clear this list?"))
        return;
    beginListChange();
    removeRows(0, document_.size());
    dropSelectionQuietly();
    endListChange("Remove All Items");
}

void formTolvane::lstShop_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    if (selectedRow() < 0)
        return;
    const bool shiftAlone = (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                      Qt::MetaModifier)) == Qt::ShiftModifier;
    if (keyCode == Qt::Key_Insert) {
        shiftAlone ? cmdShopItemShiftU_Click() : cmdShopNew_Click();
    } else if (keyCode == Qt::Key_Delete) {
        shiftAlone ? cmdShopItemShiftD_Click() : cmdShopRemove_Click();
    } else if (keyCode == Qt::Key_Plus && (shift & Qt::KeypadModifier)) {
        beginListChange();
        setListRow(document_.size() - 1);
        shopAddItem(kItemEntry);
        endListChange("Add Item");
    }
}

void formTolvane::lstShop_MouseDown(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::RightButton)
        return;
    // Right-aligned at the pointer.
    const QPoint global = lstShop->viewport()->mapToGlobal(at);
    mnuInsert->popup(QPoint(global.x() - mnuInsert->sizeHint().width(), global.y()));
}

void formTolvane::lstShop_Click()
{
    if (!allowUpdate || !theItem)
        return;
    theItem->allowSaveToShop = false;
    const int selected = selectedRow();
    if (selected < 0)
        return;
    leaveStorageItem();  // a row chosen in the list: the editor writes into it, not into a storage
    const ListEntry entry = document_.at(selected);
    const QString rowText = documentText(entry.text);
    theItem->rowHeld = false;
    if (entry.kind == kBlankEntry || entry.kind == kCommentEntry) {
        chkProtectComment->setChecked(false);
        theItem->isNotItem = true;
        theItem->allowSaveToShop = false;
        txtShopComment->setText(rowText);
        theItem->allowSaveToShop = true;
        chkProtectComment->setChecked(true);
        tellUser(StatusColor::Green, "Load Non-Item> Loaded: " + rowText);
    } else if (entry.kind == kItemEntry) {
        loadItemEntry(entry, selected);
    }
    theItem->allowSaveToShop = true;
    if (shopGrid_ && shopGrid_->isVisible())
        shopGrid_->showSelection();
}

void formTolvane::loadItemEntry(const ListEntry& entry, int row)
{
    using R = ColumnRole;
    const ItemLayout& items = layout().items;
    const RowValues v = readRowValues(entry.text, items);
    chkProtectComment->setChecked(false);
    theItem->isNotItem = false;
    theItem->showSel = false;
    theItem->flgFromShop = true;
    // What the layout has no column for goes back to its default, so that the
    // codes describe the row and nothing of the item shown before.
    theItem->maxLevel = limitToRange(v[R::MaxLevel], 0, kLevelCount - 1);
    theItem->excellentFlag = v[R::ExcellentFlag] == 1 ? 1 : 0;
    txtSerial->setText("0");
    theItem->setId(0);
    // "All" first: changing it sets every box, which the row's own bits then correct.
    const int bits = items.has(R::Excellent) ? static_cast<int>(limitToRange(v[R::Excellent], 0, 63)) : 0;
    arrCheckExc[0]->setCheckState(bits == 63 ? Qt::Checked : Qt::Unchecked);
    for (int i = 0; i < kExcellentCount; ++i)
        for (int box : {1 + i, 1 + i + kExcellentCount})
            arrCheckExc[static_cast<size_t>(box)]->setCheckState(bits & (1 << i) ? Qt::Checked : Qt::Unchecked);
    theItem->update(v[R::Class], v[R::Index], v[R::Level], v[R::Durability], v[R::Skill], v[R::Luck], v[R::Option]);
    theItem->flgFromShop = false;
    theItem->showSel = true;
    // A row the editor cannot show as it stands keeps its fields until an item is chosen for it.
    const std::string inexact = inexactColumn(entry.text, items);
    theItem->rowHeld = !inexact.empty() || !theItem->flgItemExists;
    const QString replace = QString(" Choose an item for it with the class or item selector to replace it; until "
                                    "then no edit is written into the row.");
    if (theItem->flgItemExists && inexact.empty()) {
        tellUser(StatusColor::Green, "Load Item> Loaded: " + catalogText(theItem->strShopComment));
    } else if (theItem->flgItemExists) {
        tellUser(StatusColor::Yellow, QString("Load Item> Row %1 cannot be shown as it stands: %2; the editor shows %3.")
                                              .arg(row + 1)
                                              .arg(documentText(inexact))
                                              .arg(catalogText(theItem->strShopComment)) +
                                          replace);
    } else {
        // The stored comment: the piece after the n-th comma.
        const std::vector<std::string_view> pieces = entryPieces(entry.text);
        const size_t n = items.count();
        txtShopComment->setText(pieces.size() > n ? documentText(pieces[n]) : QString());
        chkProtectComment->setChecked(true);
        tellUser(StatusColor::Yellow,
                 QString("Load Item> Item does not exist in Data Files. Row %1 names item %2 of class %3; the "
                         "selectors show %4 instead.")
                         .arg(row + 1)
                         .arg(theItem->shopCode.typeIndex)
                         .arg(theItem->shopCode.classIndex)
                         .arg(comboItemSelector->currentText().isEmpty() ? QString("no item")
                                                                          : comboItemSelector->currentText()) +
                     replace);
    }
}

void formTolvane::mnuUpdateAll_Click()
{
    // A long run shows its progress and can be stopped; the rows done stay done.
    const int count = document_.size();
    QProgressDialog progress("Updating all items...", "Cancel", 0, count, this);
    progress.setObjectName("dlgUpdateAll");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(updateAllProgressDelay);
    const auto storedName = [this](const std::string& name) { return documentBytes(catalogText(name)); };
    int done = 0;
    int lastItem = -1;
    int kept = 0;
    beginListChange();
    for (int r = 0; r < count; ++r, done = r) {
        if (r % 256 == 0) {
            progress.setValue(r);
            if (progress.wasCanceled())
                break;
        }
        if (document_.at(r).kind != kItemEntry)
            continue;
        // Each item entry as loading it into the editor and saving it again makes it.
        lastItem = r;
        ListEntry entry = document_.at(r);
        if (std::optional<std::string> text = updatedEntryText(entry.text, layout().items, *catalog_, storedName)) {
            entry.text = *std::move(text);
            setRow(r, entry);
        } else {
            ++kept;
        }
    }
    // The selection ends on the last item entry, loaded afresh, with its message.
    if (lastItem >= 0) {
        if (selectedRow() == lastItem)
            lstShop_Click();
        else
            setListRow(lastItem);
        if (theItem->flgItemExists)
            theItem->saveToShop();
    }
    const bool stopped = progress.wasCanceled();
    progress.setValue(count);
    endListChange("Update All Items");
    if (stopped)
        tellUser(StatusColor::Yellow,
                 QString("Update All> Stopped: rows 1 to %1 of %2 were updated; undo takes them back.").arg(done).arg(count));
    else if (kept > 0)
        tellUser(StatusColor::Yellow, QString("Update All> %1 item row%2 left as %3: not in the data files, or "
                                              "holding columns the editor cannot show as they stand.")
                                          .arg(kept)
                                          .arg(kept == 1 ? " was" : "s were")
                                          .arg(kept == 1 ? "it is" : "they are"));
}

void formTolvane::txtShopComment_Change()
{
    if (theItem)
        theItem->setComment();
}

}  // namespace vs
