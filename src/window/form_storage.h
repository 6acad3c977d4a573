#pragma once

#include "code_manager/code_man_view.h"
#include "storage/storage.h"
#include "storage/storage_text.h"
#include "check/file_check.h"

#include <QMainWindow>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QUndoStack;

namespace vs {

// "3 items", "1 item": what a storage holds, for messages.
QString itemCount(const Storage& storage);

// What the file dialogs of storages offer.
inline const char* const kStorageFilter = "Storage files (*.txt *.hex *.bin);;All files (*)";

class formTolvane;
class StoragePicture;

// Where a storage read from the server's database lives, and the bytes its
// row held when it was read: Save writes there only while the row still
// holds them. The password stays in memory, never in a file or setting.
struct DatabaseBinding {
    std::string url;
    std::string password;
    StorageTable table;
    std::string owner;
    std::string original;
};

// A warehouse or inventory open for editing: the grid (and an inventory's
// equipped slots) with every item drawn at its size, its problems listed.
// Choosing an item loads it into the main window's editor, whose changes are
// then written back into the item's slot. Modeless; one window per storage.
class formStorage : public QMainWindow {
    Q_OBJECT
public:
    // `path` is empty for a storage pasted from the clipboard.
    formStorage(formTolvane& main, Storage storage, const QString& path);
    ~formStorage() override;

    const Storage& storage() const { return storage_; }
    const QString& filePath() const { return path_; }
    QUndoStack* history() const { return history_; }
    bool isModified() const;
    const std::vector<Finding>& findings() const { return findings_; }

    // The chosen item's slot, -1 when none; the chosen free cell or empty
    // equipped slot, where Place puts the editor's item.
    int selectedSlot() const { return selected_; }
    int chosenPlace() const { return place_; }
    // Chooses what lies at the slot: an item is loaded into the editor, an
    // empty slot becomes the place for Place.
    void chooseSlot(int slot);

    // Puts the editor's item at the chosen place.
    void placeEditorItem();
    // Removes the chosen item.
    void deleteSelected();
    // Moves the item in `slot` to the slot `to` (for the grid, its top-left cell).
    bool moveItem(int slot, int to);
    // The editor's item changed while this window's item is chosen: writes its
    // code into the slot. False when the slot cannot take it (said in yellow).
    bool editorChanged(const StorageSlot& item);
    // Whether the chosen slot holds the item (but for the bytes the editor does not model).
    bool holdsEditorItem(const StorageSlot& item) const;

    bool save();
    bool saveAs();
    // The row this storage was read from, when it came from a database.
    void bindToDatabase(DatabaseBinding binding);
    const std::optional<DatabaseBinding>& databaseBinding() const { return database_; }
    void copyAsHex();
    void copyAsSql();
    // Asks about unsaved changes; false when the user cancelled or a save failed.
    bool maySetAside();

    // "Warehouse - vault.txt", "Inventory - (pasted)": the title without the
    // mark of unsaved changes; it marks this window's messages in View > Messages.
    QString windowName() const;
    // "slot 14 of the warehouse", for the status line.
    QString slotPlace(int slot) const;
    // Where the slot's item (or the empty equipped slot) is drawn, and a grid
    // cell, in the coordinates of the picture `picStorage`.
    QRect slotRect(int slot) const;
    QRect cellRect(int x, int y) const;
    // The slot drawn at the point, and the grid cell under it.
    int slotAt(QPoint at) const;
    std::optional<StorageCell> cellAt(QPoint at) const;

    // Steps of the history call this: the slots as they become, and the item
    // to choose, which the editor then shows.
    void restore(const std::vector<StorageSlot>& contents, int selected);
    // The editor went back to the list: no item here is chosen any more.
    void editorLeft();
    void say(StatusColor color, const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // Records the change from `before` to the storage as it is now as one step.
    void recordChange(const std::vector<StorageSlot>& before, int selectedBefore, const QString& caption,
                      bool editorEdit);
    void refresh();
    void updateTitle();
    bool writeTo(const QString& path);
    // Writes the storage into its row, guarded by the bytes read; on a row
    // changed meanwhile writes nothing and offers Reload or a file.
    bool writeToDatabase();

    formTolvane& main_;
    Storage storage_;
    QString path_;
    QUndoStack* history_ = nullptr;
    std::vector<Finding> findings_;
    int selected_ = -1;
    int place_ = -1;
    std::vector<int> occupancy_;  // the slot covering each grid cell, or -1
    QString lastOwner_;           // the name Copy as SQL asked for last
    std::optional<DatabaseBinding> database_;

    StoragePicture* picStorage = nullptr;
    QListWidget* lstStorageProblems = nullptr;
    QPushButton* cmdStoragePlace = nullptr;
    QPushButton* cmdStorageDelete = nullptr;
    QLabel* lblStorageStatus = nullptr;
    friend class StoragePicture;
};

}  // namespace vs
