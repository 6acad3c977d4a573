// The list of entries: its commands, keys and mouse, and loading the chosen entry.
#include "catalog/token_value.h"
#include "document/list_entry.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>

namespace vs {

namespace {

// A field of an item entry as a number, without rounding: update rounds it.
double tokenFieldValue(const QString& field)
{
    return tokenValue(toBytes(field));
}

// Leaves the list with no row selected without running its selection handler,
// as emptying or shortening the list does.
void dropSelectionQuietly(QListWidget* list)
{
    const QSignalBlocker quiet(list);
    list->setCurrentRow(-1);
}

}  // namespace

void formTolvane::shopAddItem(int kind)
{
    QString text;
    if (kind == kItemEntry) {
        const std::string code = editMode_ == 0 ? theItem->getShopCode(",") : theItem->getBagCode(",");
        text = fromBytes(code) + "," + txtShopComment->text();
    } else if (kind == kCommentEntry) {
        text = "//";
    }
    const int selected = lstShop->currentRow();
    const int at = (selected < 0 || selected == lstShop->count() - 1) ? lstShop->count() : selected;
    auto* row = new QListWidgetItem(text);
    row->setData(Qt::UserRole, kind);
    {
        // Inserting moves the selected row down; the new row is selected next.
        const QSignalBlocker quiet(lstShop);
        lstShop->insertItem(at, row);
    }
    dropSelectionQuietly(lstShop);
    lstShop->setCurrentRow(at);
}

void formTolvane::swapListItems(QListWidget* lst, int si, int ti)
{
    QListWidgetItem* a = lst->item(si);
    QListWidgetItem* b = lst->item(ti);
    const QString text = a->text();
    const QVariant kind = a->data(Qt::UserRole);
    a->setText(b->text());
    a->setData(Qt::UserRole, b->data(Qt::UserRole));
    b->setText(text);
    b->setData(Qt::UserRole, kind);
}

void formTolvane::cmdShopNew_Click()
{
    theItem->isNewItem = true;
    shopAddItem(kItemEntry);
    theItem->isNewItem = false;
    tellUser(StatusColor::White, "Add Item> Item Added: " + lstShop->currentItem()->text());
}

void formTolvane::cmdShopRemove_Click()
{
    const int i = lstShop->currentRow();
    if (i < 0) {
        tellUser(StatusColor::Yellow, QString(lstShop->count() == 0 ? "Delete Item> The list is empty."
                                                                    : "Delete Item> Please select an item first."));
        return;
    }
    QString text;
    {
        const QSignalBlocker quiet(lstShop);
        std::unique_ptr<QListWidgetItem> row(lstShop->takeItem(i));
        text = row->text();
    }
    dropSelectionQuietly(lstShop);
    const int count = lstShop->count();
    if (i == 0) {
        if (count > 0)
            lstShop->setCurrentRow(0);
    } else {
        lstShop->setCurrentRow(i == count ? i - 1 : i);
    }
    tellUser(StatusColor::White, "Delete Item> Item Removed: " + text);
}

void formTolvane::cmdShopItemShiftU_Click()
{
    const int i = lstShop->currentRow();
    if (i <= 0)
        return;
    swapListItems(lstShop, i, i - 1);
    allowUpdate = false;
    lstShop->setCurrentRow(i - 1);
    allowUpdate = true;
}

void formTolvane::cmdShopItemShiftD_Click()
{
    const int i = lstShop->currentRow();
    if (i < 0 || i >= lstShop->count() - 1)
        return;
    swapListItems(lstShop, i, i + 1);
    allowUpdate = false;
    lstShop->setCurrentRow(i + 1);
    allowUpdate = true;
}

void formTolvane::mnuBlank_Click()
{
    shopAddItem(kBlankEntry);
    tellUser(StatusColor::White, QString("Load Blank Line> Blank line added."));
}

void formTolvane::mnuComment_Click()
{
    shopAddItem(kCommentEntry);
    tellUser(StatusColor::White, QString("Load Comment Text> Comment line added."));
}

void formTolvane::mnuClearList_Click()
{
    if (!dialogs_.askYesNo(this, "Clear Prompt", "Clear this list?"))
        return;
    const QSignalBlocker quiet(lstShop);
    lstShop->clear();
}

void formTolvane::lstShop_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    if (lstShop->currentRow() < 0)
        return;
    const bool shiftAlone = (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                      Qt::MetaModifier)) == Qt::ShiftModifier;
    if (keyCode == Qt::Key_Insert) {
        shiftAlone ? cmdShopItemShiftU_Click() : cmdShopNew_Click();
    } else if (keyCode == Qt::Key_Delete) {
        shiftAlone ? cmdShopItemShiftD_Click() : cmdShopRemove_Click();
    } else if (keyCode == Qt::Key_Plus && (shift & Qt::KeypadModifier)) {
        lstShop->setCurrentRow(lstShop->count() - 1);
        shopAddItem(kItemEntry);
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
    const QListWidgetItem* row = lstShop->currentItem();
    if (!row)
        return;
    const QString text = row->text();
    const int kind = row->data(Qt::UserRole).toInt();
    if (kind == kBlankEntry || kind == kCommentEntry) {
        chkProtectComment->setChecked(false);
        theItem->isNotItem = true;
        theItem->allowSaveToShop = false;
        txtShopComment->setText(text);
        theItem->allowSaveToShop = true;
        chkProtectComment->setChecked(true);
        tellUser(StatusColor::Green, "Load Non-Item> Loaded: " + text);
    } else if (kind == kItemEntry) {
        const QStringList fields = text.split(',');
        auto field = [&](int i) { return i < fields.size() ? tokenFieldValue(fields[i]) : 0.0; };
        chkProtectComment->setChecked(false);
        theItem->isNotItem = false;
        theItem->showSel = false;
        theItem->flgFromShop = true;
        if (editMode_ == 0)
            theItem->update(field(0), field(1), field(2), field(3), field(4), field(5), field(6));
        else
            theItem->update(field(0), field(1), field(2), 0, field(3), field(4), field(5));
        theItem->flgFromShop = false;
        theItem->showSel = true;
        if (theItem->flgItemExists) {
            tellUser(StatusColor::Green, "Load Item> Loaded: " + fromBytes(theItem->strShopComment));
        } else {
            const int n = itemFieldCount(editMode_);
            txtShopComment->setText(fields.size() > n ? fields[n] : QString());
            chkProtectComment->setChecked(true);
            tellUser(StatusColor::Yellow, QString("Load Item> Item does not exist in Data Files."));
        }
    }
    theItem->allowSaveToShop = true;
}

void formTolvane::mnuUpdateAll_Click()
{
    for (int r = 0; r < lstShop->count(); ++r) {
        if (lstShop->item(r)->data(Qt::UserRole).toInt() != kItemEntry)
            continue;
        // Every item entry is loaded afresh, also the one already selected.
        if (lstShop->currentRow() == r)
            lstShop_Click();
        else
            lstShop->setCurrentRow(r);
        if (theItem->flgItemExists)
            theItem->saveToShop();
    }
}

void formTolvane::txtShopComment_Change()
{
    if (theItem)
        theItem->setComment();
}

EntryList formTolvane::entries() const
{
    EntryList list;
    for (int r = 0; r < lstShop->count(); ++r) {
        const QListWidgetItem* row = lstShop->item(r);
        list.push_back({toBytes(row->text()), row->data(Qt::UserRole).toInt()});
    }
    return list;
}

}  // namespace vs
