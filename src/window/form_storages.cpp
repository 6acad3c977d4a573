// Storages: opening and pasting them, and the editor working on a storage's
// item as it works on a list entry.
#include "catalog/file_io.h"
#include "catalog/vault_error.h"
#include "storage/storage_text.h"
#include "codes/vault_decode.h"
#include "window/form_storage.h"
#include "window/form_shop_grid.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QUndoGroup>

namespace vs {

QString itemCount(const Storage& storage)
{
    const auto count = std::count_if(storage.contents.begin(), storage.contents.end(),
                                     [](const StorageSlot& slot) { return !isEmptySlot(slot); });
    return QString("%1 item%2").arg(count).arg(count == 1 ? "" : "s");
}

void formTolvane::mnuOpenStorage_Click()
{
    const QString path = dialogs_.openFileName(this, "Open Storage", kStorageFilter);
    if (path.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Open Storage> Open was cancelled."));
        return;
    }
    openStorage(path);
}

formStorage* formTolvane::openStorage(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    // One window per file: two would overwrite each other's changes.
    if (formStorage* open = storageWindowFor(path)) {
        open->show();
        open->raise();
        open->activateWindow();
        tellUser(StatusColor::White, "Open Storage> " + name + " is open already.");
        return open;
    }
    std::string bytes;
    try {
        bytes = readFileBytes(QFile::encodeName(path).toStdString());
    } catch (const VaultError&) {
        tellUser(StatusColor::Yellow, "Open Storage> " + name + " cannot be read.");
        return nullptr;
    }
    Storage storage;
    try {
        storage = readStorage(bytes);
    } catch (const StorageError& e) {
        tellUser(StatusColor::Yellow, "Open Storage> " + name + " is not a storage: " + fromBytes(e.what()));
        return nullptr;
    }
    const QString count = itemCount(storage);
    formStorage* window = showStorage(std::move(storage), path);
    tellUser(StatusColor::Green, "Open Storage> " + name + ": " + count + ".");
    offerRecoveryFor(path);  // unsaved changes to this file that a killed run kept
    return window;
}

void formTolvane::mnuPasteStorage_Click()
{
    const QString text = QGuiApplication::clipboard()->text();
    Storage storage;
    try {
        storage = readStorage(text.toStdString());
    } catch (const StorageError& e) {
        tellUser(StatusColor::Yellow, "Paste Storage> The clipboard holds no storage: " + fromBytes(e.what()));
        return;
    }
    const QString count = itemCount(storage);
    showStorage(std::move(storage), QString());
    tellUser(StatusColor::Green, "Paste Storage> " + count + "; Save asks for a file.");
}

formStorage* formTolvane::showStorage(Storage storage, const QString& path)
{
    auto* window = new formStorage(*this, std::move(storage), path);
    undoGroup_->addStack(window->history());
    window->setProperty("recoveryId", ++nextStorageId_);
    connect(window->history(), &QUndoStack::indexChanged, this, [this] { scheduleRecovery(); });
    // Saved, or closed: its recovery goes, once the window is whole or gone
    // (a history being destroyed says it is clean).
    const auto later = [this] { QTimer::singleShot(0, this, [this] { writeRecoveries(); }); };
    connect(window->history(), &QUndoStack::cleanChanged, this, [later](bool clean) {
        if (clean)
            later();
    });
    connect(window, &QObject::destroyed, this, later);
    window->show();
    return window;
}

formStorage* formTolvane::storageWindowFor(const QString& path, const formStorage* except) const
{
    for (formStorage* open : findChildren<formStorage*>())
        if (open != except && open->isVisible() && !open->filePath().isEmpty() &&
            QFileInfo(open->filePath()) == QFileInfo(path))
            return open;
    return nullptr;
}

std::optional<StorageSlot> formTolvane::editorItem() const
{
    try {
        return slotFromHex(theItem->getVaultCode());
    } catch (const VaultError&) {
        return std::nullopt;
    }
}

void formTolvane::loadStorageItem(formStorage& storage)
{
    const int slot = storage.selectedSlot();
    if (!theItem || slot < 0)
        return;
    const StorageSlot& item = storage.storage().contents[static_cast<size_t>(slot)];
    const DecodedVault fields = *decodeVaultCode(slotHex(item));
    // The list's row is no longer the one the editor writes into.
    if (selectedRow() >= 0)
        dropSelectionQuietly();
    if (storageTarget_ && storageTarget_ != &storage)
        storageTarget_->editorLeft();
    storageTarget_ = &storage;
    undoGroup_->setActiveStack(storage.history());
    loadingStorageItem_ = true;
    theItem->rowHeld = false;
    theItem->allowSaveToShop = false;
    chkProtectComment->setChecked(false);
    theItem->isNotItem = false;
    theItem->showSel = false;
    theItem->flgFromShop = true;
    theItem->update(fields.classIndex, fields.typeIndex, fields.level, fields.dur, fields.skill, fields.luck,
                    fields.optLevel);
    theItem->flgFromShop = false;
    theItem->showSel = true;
    txtSerial->setText(QString::number(fields.serial));
    theItem->setId(fields.serial);  // also when the box showed that number already
    // Both boxes of an option show its flag; "All" when all six are set.
    const bool all = std::all_of(fields.excellent.begin(), fields.excellent.end(), [](bool b) { return b; });
    arrCheckExc[0]->setCheckState(all ? Qt::Checked : Qt::Unchecked);
    for (int i = 0; i < kExcellentCount; ++i)
        for (int box : {1 + i, 1 + i + kExcellentCount})
            arrCheckExc[static_cast<size_t>(box)]->setCheckState(fields.excellent[static_cast<size_t>(i)]
                                                                     ? Qt::Checked
                                                                     : Qt::Unchecked);
    loadingStorageItem_ = false;
    theItem->allowSaveToShop = true;
    const QString place = storage.slotPlace(slot);
    const QString loaded = "Load Item> Loaded " + place + ": " + catalogText(storageItemName(*catalog_, item));
    if (theItem->flgItemExists && fields.level >= kLevelCount)
        tellUser(StatusColor::Yellow, loaded + QString("; the editor shows its level %1 as %2, and an edit stores %2.")
                                                   .arg(fields.level)
                                                   .arg(kLevelCount - 1));
    else if (theItem->flgItemExists)
        tellUser(StatusColor::Green, loaded);
    else
        tellUser(StatusColor::Yellow, "Load Item> The item in " + place + " does not exist in Data Files.");
    if (shopGrid_ && shopGrid_->isVisible())
        shopGrid_->showSelection();  // no row of the list is selected now
}

formStorage* formTolvane::storageTarget() const
{
    return storageTarget_;
}

void formTolvane::leaveStorage(const formStorage* storage)
{
    if (storage && storageTarget_ == storage)
        storageTarget_ = nullptr;
}

void formTolvane::leaveStorageItem()
{
    // Edit > Undo follows the document last worked on: now the list.
    undoGroup_->setActiveStack(undoStack_);
    if (!storageTarget_)
        return;
    storageTarget_->editorLeft();
    leaveStorage(storageTarget_);
}

void formTolvane::storageChanged(formStorage& storage)
{
    undoGroup_->setActiveStack(storage.history());
}

bool formTolvane::maySetStoragesAside()
{
    for (formStorage* storage : findChildren<formStorage*>())
        if (!storage->maySetAside())
            return false;
    return true;
}

}  // namespace vs
