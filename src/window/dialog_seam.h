#pragma once

#include "storage/storage.h"
#include "storage/storage_text.h"

#include <QString>
#include <array>
#include <optional>

class QWidget;

namespace vs {

// The answers to the question about unsaved changes.
enum class SaveAnswer { Save, Discard, Cancel };
// The answers to the offer of unsaved work a run left behind.
enum class RecoveryAnswer { Restore, Discard, Later };
// The answers when a storage's row changed in the database since it was read.
enum class ConflictAnswer { Reload, SaveToFile, Cancel };

// What File > Open Storage from Database... asks for: the connection, whose
// storage, and where each kind lives (table, key column, items column).
struct DatabaseStorageRequest {
    QString url;
    StorageKind kind = StorageKind::Warehouse;
    QString owner;
    std::array<StorageTable, 2> tables{defaultStorageTable(StorageKind::Warehouse),
                                       defaultStorageTable(StorageKind::Inventory)};
    StorageTable& table() { return tables[kind == StorageKind::Warehouse ? 0 : 1]; }
};

// Every modal box and file dialog of the program goes through here, so that
// tests can answer them without a window ever blocking.
class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // A message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Save, Discard and Cancel.
    virtual SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) = 0;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Starts at `proposed` (the document's own file) when it is not empty,
    // else in the folder last chosen, with no file name.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& proposed) = 0;
    // Restore, Discard or keep for later.
    virtual RecoveryAnswer askRecovery(QWidget* parent, const QString& title, const QString& text) = 0;
    // A line of text, starting from `initial`; none when the user cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                           const QString& initial) = 0;
    // The connection and the storage to open, starting from `request`; false when cancelled.
    virtual bool askDatabaseStorage(QWidget* parent, DatabaseStorageRequest& request) = 0;
    // A password, typed without showing it; none when cancelled.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& title, const QString& label) = 0;
    // Reload, Save to a file, or Cancel.
    virtual ConflictAnswer askConflict(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real boxes and dialogs.
class QtDialogs : public DialogSeam {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix, const QString& proposed) override;
    RecoveryAnswer askRecovery(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
    bool askDatabaseStorage(QWidget* parent, DatabaseStorageRequest& request) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& title, const QString& label) override;
    ConflictAnswer askConflict(QWidget* parent, const QString& title, const QString& text) override;

private:
    QString lastPath_;  // the file last chosen: its folder is where a dialog starts
};

}  // namespace vs
