#include "window/form_storage.h"

#include "catalog/file_io.h"
#include "database/database_storage.h"
#include "storage/storage_text.h"
#include "window/form_tolvane.h"
#include "window/storage_change.h"
#include "window/storage_picture.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>
#include <system_error>

namespace vs {

namespace {

QString kindCaption(StorageKind kind)
{
    return kind == StorageKind::Warehouse ? "Warehouse" : "Inventory";
}

// Where an inventory's equipped slots are drawn, in cells: x, y, width, height.
constexpr int kDoll[kEquippedSlots][4] = {
    {0, 1, 2, 3},  // right hand
    {6, 2, 2, 3},  // left hand
    {3, 0, 2, 2},  // helm
    {3, 2, 2, 2},  // armour
    {3, 4, 2, 2},  // pants
    {0, 4, 2, 2},  // gloves
    {6, 5, 2, 1},  // boots
    {6, 0, 2, 2},  // wings
    {0, 0, 2, 1},  // guardian
    {2, 2, 1, 1},  // pendant
    {2, 4, 1, 1},  // ring 1
    {5, 4, 1, 1},  // ring 2
};

}  // namespace

formStorage::formStorage(formTolvane& main, Storage storage, const QString& path)
    : QMainWindow(&main, Qt::Window), main_(main), storage_(std::move(storage)), path_(path)
{
    setObjectName("formStorage");
    setAttribute(Qt::WA_DeleteOnClose);
    history_ = new QUndoStack(this);
    connect(history_, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    buildControls();
    buildMenus();
    refresh();
}

formStorage::~formStorage()
{
    // Qt deletes the children after this object's own members are gone: the
    // history, dropping its unsaved steps, must not reach the title any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void formStorage::buildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    picStorage = new StoragePicture(*this);
    picStorage->fitToStorage();
    layout->addWidget(picStorage, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption, auto handler) {
        auto* b = new QPushButton(caption, central);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
        return b;
    };
    cmdStoragePlace = button("cmdStoragePlace", "Place", [this] { placeEditorItem(); });
    cmdStorageDelete = button("cmdStorageDelete", "Delete", [this] { deleteSelected(); });
    button("cmdStorageSave", "Save", [this] { save(); });
    button("cmdStorageCopyHex", "Copy as Hex", [this] { copyAsHex(); });
    button("cmdStorageCopySql", "Copy as SQL", [this] { copyAsSql(); });
    layout->addLayout(buttons);

    lstStorageProblems = new QListWidget(central);
    lstStorageProblems->setObjectName("lstStorageProblems");
    lstStorageProblems->setMaximumHeight(110);
    connect(lstStorageProblems, &QListWidget::itemActivated, this, [this](QListWidgetItem* row) {
        const int slot = row->data(Qt::UserRole).toInt();
        if (!isEmptySlot(storage_.contents[static_cast<size_t>(slot)]))
            chooseSlot(slot);
    });
    layout->addWidget(lstStorageProblems);
    setCentralWidget(central);

    lblStorageStatus = new QLabel(this);
    lblStorageStatus->setObjectName("lblStorageStatus");
    statusBar()->addWidget(lblStorageStatus, 1);
}

void formStorage::buildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                             auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("mnuStorageFile");
    item(file, "mnuStorageSave", "Save", QKeySequence("Ctrl+S"), [this] { save(); });
    item(file, "mnuStorageSaveAs", "Save as...", QKeySequence("Ctrl+A"), [this] { saveAs(); });
    file->addSeparator();
    item(file, "mnuStorageCopyHex", "Copy as Hex", QKeySequence("Ctrl+Shift+C"), [this] { copyAsHex(); });
    item(file, "mnuStorageCopySql", "Copy as SQL...", QKeySequence("Ctrl+Shift+Q"), [this] { copyAsSql(); });
    file->addSeparator();
    item(file, "mnuStorageClose", "Close", QKeySequence(), [this] { close(); });

    QMenu* edit = menuBar()->addMenu("Edit");
    edit->setObjectName("mnuStorageEdit");
    QAction* undo = history_->createUndoAction(edit, "Undo");
    undo->setObjectName("mnuStorageUndo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    edit->addAction(undo);
    QAction* redo = history_->createRedoAction(edit, "Redo");
    redo->setObjectName("mnuStorageRedo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    edit->addAction(redo);
    edit->addSeparator();
    item(edit, "mnuStoragePlace", "Place", QKeySequence(Qt::Key_Insert), [this] { placeEditorItem(); });
    item(edit, "mnuStorageDelete", "Delete", QKeySequence(QKeySequence::Delete), [this] { deleteSelected(); });
}

bool formStorage::isModified() const
{
    return !history_->isClean();
}

QString formStorage::slotPlace(int slot) const
{
    QString text = QString("slot %1").arg(slot);
    if (const std::string_view name = equippedSlotName(slot); storage_.kind == StorageKind::Inventory && !name.empty())
        text += QString(" (%1)").arg(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    return text + " of the " + kindCaption(storage_.kind).toLower();
}

void formStorage::say(StatusColor color, const QString& message)
{
    main_.tellUser(color, message, windowName());
    QPalette p = lblStorageStatus->palette();
    p.setColor(QPalette::WindowText, color == StatusColor::Yellow ? QColor(150, 110, 0)
                                     : color == StatusColor::Green ? QColor(0, 120, 0)
                                                                   : palette().color(QPalette::WindowText));
    lblStorageStatus->setPalette(p);
    lblStorageStatus->setText(message);
}

// Geometry.

QRect formStorage::cellRect(int x, int y) const
{
    const int top = kStorageMargin + (storage_.kind == StorageKind::Inventory ? kDollRows * kStorageCell : 0);
    return QRect(kStorageMargin + x * kStorageCell, top + y * kStorageCell, kStorageCell, kStorageCell);
}

QRect formStorage::slotRect(int slot) const
{
    if (slot < 0 || slot >= static_cast<int>(storage_.contents.size()))
        return {};
    const std::optional<StorageCell> at = slotCell(storage_.kind, slot);
    if (!at) {
        const int* d = kDoll[slot];
        return QRect(kStorageMargin + d[0] * kStorageCell, kStorageMargin + d[1] * kStorageCell, d[2] * kStorageCell,
                     d[3] * kStorageCell);
    }
    const StorageSlot& item = storage_.contents[static_cast<size_t>(slot)];
    const StorageCell size = isEmptySlot(item) ? StorageCell{1, 1} : slotItemSize(item, main_.catalog());
    const int right = std::min(kStorageColumns, at->x + size.x) - 1;
    const int bottom = std::min(storageRows(storage_.kind), at->y + size.y) - 1;
    return cellRect(at->x, at->y).united(cellRect(right, bottom));
}

std::optional<StorageCell> formStorage::cellAt(QPoint at) const
{
    const QPoint from = cellRect(0, 0).topLeft();
    if (at.x() < from.x() || at.y() < from.y())
        return std::nullopt;
    const int x = (at.x() - from.x()) / kStorageCell, y = (at.y() - from.y()) / kStorageCell;
    if (x >= kStorageColumns || y >= storageRows(storage_.kind))
        return std::nullopt;
    return StorageCell{x, y};
}

int formStorage::slotAt(QPoint at) const
{
    if (storage_.kind == StorageKind::Inventory)
        for (int slot = 0; slot < kEquippedSlots; ++slot)
            if (slotRect(slot).contains(at))
                return slot;
    if (const std::optional<StorageCell> cell = cellAt(at)) {
        const int holder = occupancy_[static_cast<size_t>(cell->y * kStorageColumns + cell->x)];
        return holder >= 0 ? holder : *cellSlot(storage_.kind, cell->x, cell->y);
    }
    return -1;
}

// Choosing.

void formStorage::chooseSlot(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(storage_.contents.size()))
        return;
    if (isEmptySlot(storage_.contents[static_cast<size_t>(slot)])) {
        selected_ = -1;
        place_ = slot;
        main_.leaveStorage(this);
        say(StatusColor::White, "Storage> Place puts the editor's item into " + slotPlace(slot) + ".");
    } else {
        selected_ = slot;
        place_ = -1;
        main_.loadStorageItem(*this);
    }
    picStorage->update();
}

void formStorage::editorLeft()
{
    selected_ = -1;
    picStorage->update();
}

// Editing.

void formStorage::recordChange(const std::vector<StorageSlot>& before, int selectedBefore, const QString& caption,
                               bool editorEdit)
{
    history_->push(
        new StorageChange(*this, caption, before, storage_.contents, selectedBefore, selected_, editorEdit));
    main_.storageChanged(*this);
    refresh();
}

void formStorage::placeEditorItem()
{
    if (place_ < 0) {
        say(StatusColor::Yellow, "Place> Click a free cell (or an empty equipped slot) first.");
        return;
    }
    const std::optional<StorageSlot> item = main_.editorItem();
    if (!item) {
        say(StatusColor::Yellow, "Place> The editor holds no item to place.");
        return;
    }
    const std::vector<StorageSlot> before = storage_.contents;
    const int selectedBefore = selected_;
    try {
        setStorageItem(storage_, main_.catalog(), place_, *item);
    } catch (const StorageError& e) {
        say(StatusColor::Yellow, "Place> " + main_.catalogText(e.what()) + "; nothing was placed.");
        return;
    }
    selected_ = place_;
    place_ = -1;
    recordChange(before, selectedBefore, "Place Item", false);
    main_.loadStorageItem(*this);
    say(StatusColor::Green, "Place> " + main_.catalogText(storageItemName(main_.catalog(), *item)) + " is in " +
                                slotPlace(selected_) + ".");
}

void formStorage::deleteSelected()
{
    if (selected_ < 0) {
        say(StatusColor::Yellow, "Delete> Click the item to remove first.");
        return;
    }
    const std::vector<StorageSlot> before = storage_.contents;
    const int slot = selected_;
    const std::string name = storageItemName(main_.catalog(), storage_.contents[static_cast<size_t>(slot)]);
    removeStorageItem(storage_, slot);
    selected_ = -1;
    place_ = slot;
    main_.leaveStorage(this);
    recordChange(before, slot, "Delete Item", false);
    say(StatusColor::White, "Delete> " + main_.catalogText(name) + " was removed from " + slotPlace(slot) + ".");
}

bool formStorage::moveItem(int slot, int to)
{
    if (slot == to)
        return true;
    const std::vector<StorageSlot> before = storage_.contents;
    const int selectedBefore = selected_;
    try {
        transferStorageItem(storage_, main_.catalog(), slot, to);
    } catch (const StorageError& e) {
        say(StatusColor::Yellow, "Move> " + main_.catalogText(e.what()) + "; the item stays where it was.");
        return false;
    }
    // The chosen item keeps being the chosen one in its new slot.
    if (selected_ == slot)
        selected_ = to;
    else if (selected_ >= 0 && isEmptySlot(storage_.contents[static_cast<size_t>(selected_)]))
        selected_ = -1;
    place_ = -1;
    recordChange(before, selectedBefore, "Move Item", false);
    say(StatusColor::White, "Move> The item moved to " + slotPlace(to) + ".");
    return true;
}

namespace {

// The editor does not model a slot's last two bytes: they stay as the slot had them.
StorageSlot keepingUnmodelled(StorageSlot edited, const StorageSlot& current)
{
    edited[8] = current[8];
    edited[9] = current[9];
    return edited;
}

}  // namespace

bool formStorage::holdsEditorItem(const StorageSlot& item) const
{
    if (selected_ < 0)
        return false;
    const StorageSlot& current = storage_.contents[static_cast<size_t>(selected_)];
    return keepingUnmodelled(item, current) == current;
}

bool formStorage::editorChanged(const StorageSlot& edited)
{
    if (selected_ < 0)
        return false;
    const StorageSlot& current = storage_.contents[static_cast<size_t>(selected_)];
    const StorageSlot item = keepingUnmodelled(edited, current);
    if (item == current)
        return true;
    const std::vector<StorageSlot> before = storage_.contents;
    try {
        setStorageItem(storage_, main_.catalog(), selected_, item);
    } catch (const StorageError& e) {
        say(StatusColor::Yellow, "Storage> " + main_.catalogText(e.what()) + "; " + slotPlace(selected_) +
                                     " keeps its item.");
        return false;
    }
    recordChange(before, selected_, "Edit Item", true);
    return true;
}

void formStorage::restore(const std::vector<StorageSlot>& contents, int selected)
{
    storage_.contents = contents;
    selected_ = selected >= 0 && !isEmptySlot(storage_.contents[static_cast<size_t>(selected)]) ? selected : -1;
    place_ = -1;
    refresh();
    // As in the list, the item chosen again is shown in the editor.
    if (selected_ >= 0)
        main_.loadStorageItem(*this);
    else
        main_.leaveStorage(this);
}

void formStorage::refresh()
{
    const Catalog& catalog = main_.catalog();
    occupancy_ = storageOccupancy(storage_, catalog);
    findings_ = checkStorage(storage_, catalog);
    lstStorageProblems->clear();
    for (const Finding& finding : findings_) {
        auto* row = new QListWidgetItem(QString("Slot %1: %2: %3")
                                            .arg(finding.line)
                                            .arg(QString::fromLatin1(severityName(finding.severity)))
                                            .arg(main_.catalogText(finding.message)),
                                        lstStorageProblems);
        row->setData(Qt::UserRole, static_cast<int>(finding.line));
        if (finding.severity == Finding::Severity::Error)
            row->setForeground(QColor(200, 0, 0));
    }
    lstStorageProblems->setVisible(!findings_.empty());
    picStorage->update();
    updateTitle();
}

QString formStorage::windowName() const
{
    if (database_)
        return kindCaption(storage_.kind) + " - " +
               QString::fromStdString(storageOwnerText(storage_.kind, database_->owner) + " in " + database_->url);
    const QString name = path_.isEmpty() ? QString("(pasted)") : QFileInfo(path_).fileName();
    return kindCaption(storage_.kind) + " - " + name;
}

void formStorage::updateTitle()
{
    setWindowTitle(windowName() + "[*]");
    setWindowModified(isModified());
}

// Files and the clipboard.

bool formStorage::writeTo(const QString& path)
{
    if (main_.storageWindowFor(path, this)) {
        say(StatusColor::Yellow, "Save Storage> " + QFileInfo(path).fileName() +
                                     " is open in another storage window; nothing was written.");
        return false;
    }
    if (!main_.keepBackupBeforeSave(path, "Save Storage"))
        return false;
    try {
        writeFileAtomically(QFile::encodeName(path).toStdString(), writeStorage(storage_));
    } catch (const std::system_error& e) {
        say(StatusColor::Yellow, "Save Storage> " + QFileInfo(path).fileName() + ": " +
                                     QString::fromLocal8Bit(e.code().message()) + "; nothing was written.");
        return false;
    }
    path_ = path;
    database_.reset();  // from now on the window is the file's
    history_->setClean();
    updateTitle();
    say(StatusColor::Green, "Save Storage> Saved: " + QFileInfo(path).fileName());
    return true;
}

bool formStorage::save()
{
    if (database_)
        return writeToDatabase();
    return path_.isEmpty() ? saveAs() : writeTo(path_);
}

bool formStorage::saveAs()
{
    const QString path = main_.dialogs().saveFileName(this, "Save Storage", kStorageFilter, "txt", path_);
    if (path.isEmpty()) {
        say(StatusColor::Yellow, "Save Storage> Save was cancelled.");
        return false;
    }
    return writeTo(path);
}

void formStorage::copyAsHex()
{
    const std::string hex = storageHex(storage_);
    main_.putOnClipboard(hex);
    say(StatusColor::Green, QString("Copy as Hex> The %1 digits of the %2 are on the clipboard.")
                                .arg(hex.size())
                                .arg(kindCaption(storage_.kind).toLower()));
}

void formStorage::copyAsSql()
{
    const bool warehouse = storage_.kind == StorageKind::Warehouse;
    const std::optional<QString> owner = main_.dialogs().askText(
        this, "Copy as SQL", warehouse ? "The account that owns the warehouse:" : "The character that owns the inventory:",
        lastOwner_);
    if (!owner) {
        say(StatusColor::Yellow, "Copy as SQL> Cancelled; nothing was copied.");
        return;
    }
    try {
        const std::string sql = storageSql(storage_, owner->toStdString(), defaultStorageTable(storage_.kind));
        lastOwner_ = *owner;
        main_.putOnClipboard(sql);
        say(StatusColor::Green, "Copy as SQL> The statement storing the " + kindCaption(storage_.kind).toLower() +
                                    " of " + *owner + " is on the clipboard.");
    } catch (const StorageError& e) {
        say(StatusColor::Yellow, "Copy as SQL> " + main_.catalogText(e.what()) + "; nothing was copied.");
    }
}

bool formStorage::maySetAside()
{
    if (!isModified())
        return true;
    const QString name = path_.isEmpty() ? QString("pasted") : "\"" + QFileInfo(path_).fileName() + "\"";
    const QString what =
        database_ ? "The " + kindCaption(storage_.kind).toLower() + " of " +
                        QString::fromStdString(storageOwnerText(storage_.kind, database_->owner)) + " in " +
                        QString::fromStdString(database_->url)
                  : "The " + name + " " + kindCaption(storage_.kind).toLower();
    switch (main_.dialogs().askSaveChanges(this, windowTitle().remove("[*]"),
                                           what + " has unsaved changes. Save them?")) {
    case SaveAnswer::Save:
        return save();
    case SaveAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void formStorage::closeEvent(QCloseEvent* event)
{
    if (maySetAside()) {
        main_.leaveStorage(this);
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace vs
