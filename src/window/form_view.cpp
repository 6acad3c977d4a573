// The window as the code manager sees it.
#include "window/code_box.h"
#include "window/form_messages.h"
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/code_page_text.h"
#include "window/list_selector.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QTextDocument>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QToolButton>

namespace vs {

namespace {
Qt::CheckState checkState(int value)
{
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
}  // namespace

void formTolvane::showVaultCode(const std::string& text)
{
    txtResultHex->showCode(fromBytes(text));
    // A storage's item takes every change of the code, the serial and the
    // excellent options included, which no list entry holds; when the editor
    // would save into a list entry.
    if (storageTarget_ && !loadingStorageItem_ && theItem && theItem->allowSaveToShop && !theItem->isNotItem)
        if (const std::optional<StorageSlot> item = slotFromHex(text))
            storageTarget_->editorChanged(*item);
}

void formTolvane::selectVaultCode(int start, int length)
{
    txtResultHex->setHighlight(start, length);
}

void formTolvane::showShopCode(const std::string& text)
{
    txtResultShop->showCode(fromBytes(text));
}

void formTolvane::selectShopCode(int start, int length)
{
    txtResultShop->setHighlight(start, length);
}

void formTolvane::pressCategory(int group)
{
    if (group >= 0 && group < 3)
        optCategory[group]->setChecked(true);
}

void formTolvane::setClassListIndex(int position)
{
    comboClassSelector->setListIndex(position);
}

void formTolvane::setItemListIndex(int position)
{
    comboItemSelector->setListIndex(position);
}

int formTolvane::itemRowCount() const
{
    return comboItemSelector->count();
}

int formTolvane::firstClassRowValue() const
{
    return comboClassSelector->rowValue(0);
}

int formTolvane::getSortedClassIndex(int classIndex) const
{
    return comboClassSelector->positionOf(classIndex);
}

int formTolvane::getSortedTypeIndex(int typeIndex) const
{
    return comboItemSelector->positionOf(typeIndex);
}

int formTolvane::getSortedSubTypeIndex(int level) const
{
    return comboSubTypeSelector->positionOf(level);
}

bool formTolvane::subTypeSelectorEnabled() const
{
    return comboSubTypeSelector->isEnabled();
}

void formTolvane::setSubTypeListIndex(int position)
{
    comboSubTypeSelector->setListIndex(position);
}

int formTolvane::levelRowCount() const
{
    return comboLevel->count();
}

void formTolvane::setLevelListIndex(int position)
{
    comboLevel->setListIndex(position);
}

void formTolvane::setOptListIndex(int position)
{
    comboOpt->setListIndex(position);
}

void formTolvane::setDurText(const std::string& text)
{
    txtDur->setText(fromBytes(text));
}

void formTolvane::setSkillValue(int value)
{
    checkSkill->setCheckState(checkState(value));
}

void formTolvane::setLuckValue(int value)
{
    checkLuck->setCheckState(checkState(value));
}

void formTolvane::setMaxLevelListIndex(int position)
{
    comboMaxLevel->setListIndex(position);
}

void formTolvane::setExcellentFlagValue(int value)
{
    checkExcItem->setCheckState(checkState(value));
}

std::string formTolvane::selectedEntryName() const
{
    if (storageTarget_)
        return toBytes(storageTarget_->slotPlace(storageTarget_->selectedSlot()));
    return "row " + std::to_string(selectedRow() + 1);
}

std::string formTolvane::selectedEntryText() const
{
    const int row = selectedRow();
    return !storageTarget_ && row >= 0 ? document_.at(row).text : std::string();
}

std::string formTolvane::getOptionName() const
{
    return toBytes(comboOpt->currentText());
}

bool formTolvane::commentProtected() const
{
    return chkProtectComment->isChecked();
}

std::string formTolvane::commentText() const
{
    return documentBytes(txtShopComment->text());
}

void formTolvane::setCommentText(const std::string& text)
{
    // The program writes the item's display name, made of catalog names.
    txtShopComment->setText(catalogText(text));
}

bool formTolvane::listEntrySelected() const
{
    return storageTarget_ || selectedRow() >= 0;
}

int formTolvane::selectedEntryKind() const
{
    if (storageTarget_)
        return kItemEntry;
    const int row = selectedRow();
    return row >= 0 ? document_.at(row).kind : -1;
}

bool formTolvane::setSelectedEntryText(const std::string& text)
{
    if (storageTarget_) {
        // The slot took the code as it changed (showVaultCode); a slot has no
        // comment, so there is nothing more to write. Saved means the slot
        // holds the editor's item.
        const std::optional<StorageSlot> item = editorItem();
        return !loadingStorageItem_ && item && storageTarget_->holdsEditorItem(*item);
    }
    // Only the text changes: the kind and the remainder stay with the row.
    const int row = selectedRow();
    if (row < 0)
        return false;
    ListEntry entry = document_.at(row);
    entry.text = text;
    setRow(row, entry);
    return true;
}

std::string formTolvane::selectedEntryPlace() const
{
    if (storageTarget_)
        return toBytes(storageTarget_->slotPlace(storageTarget_->selectedSlot()));
    return CodeManView::selectedEntryPlace();
}

void formTolvane::tellUser(StatusColor color, const std::string& message)
{
    tellUser(color, fromBytes(message));
}

void formTolvane::tellUser(StatusColor color, const QString& message, const QString& source)
{
    QPalette p = lblDebug->palette();
    p.setColor(QPalette::WindowText, statusRgb(color));
    lblDebug->setPalette(p);
    lblDebug->setText(message);
    // The line shows what fits of a long message; its tool-tip shows it all,
    // as typed also when a file name in it looks like markup.
    lblDebug->setToolTip(Qt::mightBeRichText(message) ? "<qt>" + message.toHtmlEscaped() + "</qt>" : message);
    messageLog_->add(color, message, source);
}

void formTolvane::mnuMessages_Click()
{
    if (!messages_)
        messages_ = new formMessages(*messageLog_, this);
    messages_->show();
    messages_->raise();
    messages_->activateWindow();
}

void formTolvane::putOnClipboard(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(fromBytes(text));
}

}  // namespace vs
