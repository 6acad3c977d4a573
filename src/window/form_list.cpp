// The list of entries: adding an item and loading the chosen entry into the editor.
#include "catalog/token_value.h"
#include "document/list_entry.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

namespace vs {

namespace {
// A field of an item entry as a number, without rounding: update rounds it.
double tokenFieldValue(const QString& field)
{
    return tokenValue(toBytes(field));
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
    lstShop->insertItem(at, row);
    lstShop->setCurrentRow(at);
}

void formTolvane::cmdShopNew_Click()
{
    theItem->isNewItem = true;
    shopAddItem(kItemEntry);
    theItem->isNewItem = false;
    tellUser(StatusColor::White, "Add Item> Item Added: " + lstShop->currentItem()->text());
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

void formTolvane::txtShopComment_Change()
{
    if (theItem)
        theItem->setComment();
}

}  // namespace vs
