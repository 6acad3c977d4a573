#pragma once

#include "catalog/catalog.h"
#include "catalog/text_encoding.h"
#include "code_manager/code_man_view.h"
#include "code_manager/code_manager.h"
#include "storage/storage.h"
#include "storage/storage_text.h"
#include "document/document.h"
#include "document/file_layout.h"
#include "document/list_entry.h"
#include "window/dialog_seam.h"
#include "window/list_change.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QMenu;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QToolButton;
class QUndoGroup;
class QUndoStack;
class QTimer;

namespace vs {

struct SourceText;
class ClickableLabel;
class CodeBox;
class EntryListModel;
class ListSelector;

// The code page chosen in an earlier run, or the default one.
TextEncoding savedEncoding();

// The main window: it owns the catalog, the code manager and the list, and
// binds every control to the core.
class formTolvane : public QMainWindow, public CodeManView, public ListRows, public DocumentListener {
    Q_OBJECT
public:
    explicit formTolvane(DialogSeam& dialogs, QWidget* parent = nullptr);
    ~formTolvane() override;

    // Start-up: loads the data files from `dataDir`, brings the editor to the
    // first item and puts it into the list. On a failure shows the termination
    // message and returns false; the caller then ends the process.
    bool Form_Load(const std::filesystem::path& dataDir);

    // Form state.
    int16_t searchMode = 0;
    // Milliseconds Update All runs before it shows its progress.
    int updateAllProgressDelay = 500;
    QString updateVersion;
    int16_t optionIndex = 0;
    bool allowUpdate = false;
    QString currFile;
    int16_t editMode_ = 0;
    int16_t windowWidth = 0;
    int16_t windowHeight = 0;

    clsCodeMan* item() const { return theItem.get(); }

    // Catalog queries over the selectors.
    int16_t getClassIndex() const;
    int16_t getItemIndex() const;
    int16_t getItemDur() const;

    // The status line: the message in its colour, whole in the tool-tip, and
    // into the log of View > Messages, marked with `source` (a storage
    // window's name) when it is not the main window's own.
    void tellUser(StatusColor color, const QString& message, const QString& source = QString());

    // The caption without the mark of unsaved changes.
    QString caption() const;
    // The selected row of the list or of the search results, -1 when none is
    // visibly selected (the keyboard's current row alone is no selection).
    int selectedRow() const;
    QUndoStack* history() const { return undoStack_; }
    const TextEncoding& documentEncoding() const { return docEncoding_; }

    // CodeManView.
    void showVaultCode(const std::string& text) override;
    void selectVaultCode(int start, int length) override;
    void showShopCode(const std::string& text) override;
    void selectShopCode(int start, int length) override;
    void pressCategory(int group) override;
    void setClassListIndex(int position) override;
    void setItemListIndex(int position) override;
    int itemRowCount() const override;
    int firstClassRowValue() const override;
    int getSortedClassIndex(int classIndex) const override;
    int getSortedTypeIndex(int typeIndex) const override;
    int getSortedSubTypeIndex(int level) const override;
    bool subTypeSelectorEnabled() const override;
    void setSubTypeListIndex(int position) override;
    int levelRowCount() const override;
    void setLevelListIndex(int position) override;
    void setOptListIndex(int position) override;
    void setDurText(const std::string& text) override;
    void setSkillValue(int value) override;
    void setLuckValue(int value) override;
    void setMaxLevelListIndex(int position) override;
    void setExcellentFlagValue(int value) override;
    std::string getOptionName() const override;
    int editMode() const override { return editMode_; }
    const ItemLayout& itemLayout() const override { return layout().items; }
    std::string selectedEntryName() const override;
    std::string selectedEntryText() const override;
    bool commentProtected() const override;
    std::string commentText() const override;
    void setCommentText(const std::string& text) override;
    bool listEntrySelected() const override;
    int selectedEntryKind() const override;
    bool setSelectedEntryText(const std::string& text) override;
    std::string selectedEntryPlace() const override;
    void tellUser(StatusColor color, const std::string& message) override;
    void putOnClipboard(const std::string& text) override;

    // Selectors.
    void populateClassSelector(int cat);
    void populateItemSelector();
    void populateSubTypeSelector(int index);
    void populateOptionSelector();
    // Shows the selectors' catalog names again, in the catalog's code page.
    void relabelCatalogNames();
    void updateOptIndex();
    void optCategory_Click(int index);
    void comboClassSelector_Click();
    void comboItemSelector_Click();
    void comboSubTypeSelector_Click();
    void comboLevel_Click();
    void comboOpt_Click();

    // Property editor.
    void checkExc_Click(int number);
    void checkExcAll_Click();
    void checkSkill_Click();
    void checkLuck_Click();
    void comboMaxLevel_Click();
    void checkExcItem_Click();
    void txtDur_Change();
    void txtSerial_Change();
    void lblDur_DblClick();

    // List.
    void shopAddItem(int kind);
    // Selects the row of the list (none for -1), which loads its entry.
    void setListRow(int row);
    void cmdShopNew_Click();
    void cmdShopRemove_Click();
    void cmdShopItemShiftU_Click();
    void cmdShopItemShiftD_Click();
    void mnuBlank_Click();
    void mnuComment_Click();
    void mnuClearList_Click();
    void lstShop_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void lstShop_MouseDown(Qt::MouseButton button, QPoint at);
    void lstShop_Click();
    void mnuUpdateAll_Click();
    void txtShopComment_Change();

    // Files.
    void mnuOpen_Click();
    void openFile(const QString& path);
    // Writes the list to the file; false when nothing was written.
    bool saveFile(const QString& filename);
    bool bagIsBoK() const;
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click();

    // File > Layout: the layout of the document's lines, and the ones new documents use.
    const FileLayout& layout() const { return document_.layout(); }
    // Reads the open file again in the layout (after the unsaved-changes
    // question); a list without a file takes it for its rows as they are.
    void chooseLayout(const FileLayout& layout);
    // Remembers the layout for new documents of its kind.
    void chooseNewDocumentLayout(const FileLayout& layout);
    static const FileLayout& newDocumentLayout(int editMode);
    // Asks about unsaved changes; false when the user cancelled (or a save failed).
    bool maySetListAside();
    void chooseEncoding(const QString& id);

    // File > Recent Files, files dropped on the window, and its place on the screen.
    // Puts the file first in the recent files (absolute, at most 8 kept).
    void rememberRecentFile(const QString& path);
    // Opens a recent file after the unsaved-changes question; a file that is gone
    // is taken off the list instead.
    void openRecentFile(const QString& path);
    void mnuRecentClear_Click();
    // Opens a file dropped on the window, as File > Open does.
    void openDroppedFile(const QString& path);
    void savePosition();
    void restorePosition();

    // Storages: File > Open Storage..., Edit > Paste Storage, and the editor
    // working on a storage's item instead of a list entry.
    void mnuOpenStorage_Click();
    void mnuPasteStorage_Click();
    // File > Open Storage from Database...: asks for the connection (the last
    // one and its schema remembered, never the password) and whose storage.
    void mnuOpenStorageDb_Click();
    // Opens the storage of `owner` from the database at `url` in a window bound
    // to its row; the password from VAULTSMITH_DB_PASSWORD or asked for when
    // none is given. Null when it cannot be read (said in yellow).
    class formStorage* openDatabaseStorage(const std::string& url, StorageKind kind, const std::string& owner,
                                           const StorageTable& table, std::optional<std::string> password);
    // Opens the storage file in a window of its own (or raises the window that
    // has it open already); null when the file is no storage (said in yellow).
    class formStorage* openStorage(const QString& path);
    // Loads the storage window's chosen item into the editor, every field; the
    // editor's changes go into its slot from then on.
    void loadStorageItem(class formStorage& storage);
    // The editor stops working on the storage's item.
    void leaveStorage(const class formStorage* storage);
    class formStorage* storageTarget() const;
    // The editor's item as a slot; none when its code cannot be composed.
    std::optional<StorageSlot> editorItem() const;
    // A storage window changed: Edit > Undo and Redo take its steps from now on.
    void storageChanged(class formStorage& storage);
    // The storage window other than `except` that has the file open, if any.
    class formStorage* storageWindowFor(const QString& path, const class formStorage* except = nullptr) const;
    // Asks about each storage window's unsaved changes; false when one was cancelled.
    bool maySetStoragesAside();
    DialogSeam& dialogs() const { return dialogs_; }

    // Recovery of unsaved work: a few seconds after the last change every
    // document with unsaved changes (the list and each storage window) is kept
    // in a recovery file in the user's data folder; Save, Discard and an exit
    // with nothing unsaved remove it.
    static QString recoveryFolder();
    // Milliseconds from the last change to the recovery files.
    int recoveryDelay = 3000;
    // Writes the recovery file of each document with unsaved changes, removes the others this run wrote.
    void writeRecoveries();
    void removeRecoveries();
    // Offers the recoveries that ended runs left (start-up), or the one of a
    // file just opened (a list or a storage) when it is newer than the file.
    void offerRecoveries();
    void offerRecoveryFor(const QString& path);
    // SIGTERM, SIGINT, SIGHUP: the recovery is written, then Exit asks about
    // unsaved changes; a signal while that question is up ends the program
    // at once through `endNow` (its status 128 + the signal), keeping the recovery.
    void quitSignal(int signal);

    // The first Save of a run over an existing file keeps the file as it was
    // beside it as FILE.bak, unless File > Keep a Backup at First Save is off.
    // False (said in yellow, with `command` as the prefix) when the copy
    // cannot be made: the save then writes nothing.
    bool keepBackupBeforeSave(const QString& path, const QString& command);
    static bool backupsWanted();
    // Edit > Standard Keys in Text Boxes: Ctrl+A, C, V and X act in a text box
    // as they usually do instead of as the menu commands.
    static bool standardKeysWanted();
    std::function<void(int)> endNow = [](int status) { std::_Exit(status); };

    // Window > Shop Grid, Edit > Check File and View > Table.
    void mnuShopGrid_Click();
    void mnuCheck_Click();
    void mnuTable_Click();
    // Checks the list as Save would write it and shows the findings; `asked`
    // (F7) also reports the counts on the status line.
    void checkList(bool asked);
    // Up to this many rows, Check File checks the list again after every edit;
    // a longer list is marked out of date until F7.
    int liveCheckRows = 20000;
    // Milliseconds a check runs before it shows its progress.
    int checkProgressDelay = 500;
    // The file the list is of ("the list (no file)" without one), and its layout as messages name it.
    QString checkedFileName() const;
    QString layoutCaption() const;
    // What the last check found on the row (EntryListModel::Found).
    int foundAt(int row) const;
    // Edits one column of an item row from the table: a column of the
    // layout (a whole number in its range) or, one past them, the comment.
    // False, said in yellow, when the value cannot stand there.
    bool editEntryColumn(int row, int column, const QString& value);
    // Selects the row, which loads its entry, as clicking it does.
    void selectEntry(int row);
    const EntryList& listEntries() const { return document_.entries(); }
    // The bytes the list was read from, for writing it as Save does.
    const SourceText* source() const { return document_.source(); }
    // The list's document. Changed through this, a change is no step of the
    // history: the window's commands record their own.
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    const Catalog& catalog() const { return *catalog_; }

    // Texts of the document and of the catalog, as shown and as stored.
    QString documentText(std::string_view bytes) const;
    std::string documentBytes(const QString& text) const;
    QString catalogText(std::string_view bytes) const;
    std::string catalogBytes(const QString& text) const;

    // ListRows.
    void showSelection(int row) override;
    // DocumentListener: the windows that show the list follow it.
    void aboutToChange(const DocumentChange& change) override;
    void changed(const DocumentChange& change) override;

    // Search.
    void cmdFind_Click();
    void lstResults_Click();
    void optSearchMode_Click();
    void txtQuery_GotFocus();
    void txtQuery_LostFocus();

    // Layout, clipboard and About.
    void Form_Resize();
    void mnuVCodeCopy_Click();
    void mnuShopCodeCopy_Click();
    void mnuSize0_Click();
    void mnuAboutProg_Click();
    // View > Messages: the log of every status message since start.
    void mnuMessages_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildFrames();
    void buildListControls();
    void buildSelectorControls();
    void buildPropertyControls();
    void buildSearchControls();
    void buildMenus();
    void connectHandlers();
    const EntryList& entries() const { return document_.entries(); }
    void setCaption(const QString& fileName);
    void buildEncodingMenu(QMenu* file);
    void buildLayoutMenu(QMenu* file);
    void buildSettingsMenuItems(QMenu* file, QMenu* edit);
    // Shows the layout's controls (level range, excellent flag) and captions;
    // the menu marks it.
    void applyLayout(const FileLayout& layout);
    void markLayoutMenu();
    // Makes the entries the list's document, none selected, without running
    // the selection handler; nothing to undo afterwards.
    void showEntries(EntryList list, std::shared_ptr<const SourceText> source);
    // Loads the selected item entry into the editor (lstShop_Click's item part).
    void loadItemEntry(const ListEntry& entry, int row);
    // Where New puts an entry: above the selected row, at the end without one
    // or below the last; never after the line where the server stops reading.
    int newEntryPosition() const;
    void fillRecentMenu();
    // Takes a drag or drop that carries a local file; false leaves the event alone.
    bool takeFileDrop(QDropEvent* event);

    // Every change to the rows goes through these and becomes a step of the
    // history: a command opens a change, makes its edits and closes it with
    // the step's caption; an edit outside a command is an edit of the entry.
    void beginListChange();
    void endListChange(const QString& caption);
    void insertRow(int at, const ListEntry& entry);
    void removeRows(int at, int count);
    void setRow(int at, const ListEntry& entry);
    void moveRow(int from, int to);
    void recordEdit(DocumentEdit edit);
    // Leaves the list with no row selected without running its selection handler.
    void dropSelectionQuietly();

    // The windows that show the list follow its changes (at most once an event-loop turn).
    void listViewsChanged();
    void fail(const class VaultError& error);

    DialogSeam& dialogs_;
    std::unique_ptr<Catalog> catalog_;
    std::unique_ptr<clsCodeMan> theItem;
    std::array<QCheckBox*, 13> arrCheckExc{};
    Document document_;  // the list: its entries, the bytes they came from, its layout
    TextEncoding chosenEncoding_ = TextEncoding::defaultCodePage();
    TextEncoding docEncoding_ = TextEncoding::defaultCodePage();
    TextEncoding catalogEncoding_ = TextEncoding::defaultCodePage();
    QUndoStack* undoStack_ = nullptr;
    QUndoGroup* undoGroup_ = nullptr;
    int changeDepth_ = 0;
    std::vector<DocumentEdit> pendingEdits_;
    int quietSelection_ = 0;  // above 0: selecting a row loads nothing
    int pendingSelectedBefore_ = -1;
    bool resultPressedOnSelected_ = false;

    // Frames.
    QFrame* frmShopCtrl = nullptr;
    QFrame* frmShop = nullptr;
    QFrame* frmBanner = nullptr;
    QFrame* frmSearch = nullptr;
    QFrame* frmSelector = nullptr;
    QFrame* frmItemProperties = nullptr;
    QFrame* frmDebug = nullptr;

    // List.
    QPushButton* cmdShopNew = nullptr;
    QPushButton* cmdShopRemove = nullptr;
    QPushButton* cmdShopItemShiftD = nullptr;
    QPushButton* cmdShopItemShiftU = nullptr;
    QListView* lstShop = nullptr;
    EntryListModel* listModel_ = nullptr;

    // Selectors and codes.
    std::array<QToolButton*, 3> optCategory{};
    ListSelector* comboClassSelector = nullptr;
    ListSelector* comboItemSelector = nullptr;
    ListSelector* comboSubTypeSelector = nullptr;
    CodeBox* txtResultHex = nullptr;
    CodeBox* txtResultShop = nullptr;
    QCheckBox* chkProtectComment = nullptr;
    QLineEdit* txtShopComment = nullptr;

    // Property editor.
    ListSelector* comboLevel = nullptr;
    ListSelector* comboOpt = nullptr;
    QLineEdit* txtDur = nullptr;
    ClickableLabel* lblDur = nullptr;
    QLineEdit* txtSerial = nullptr;
    QCheckBox* checkSkill = nullptr;
    QCheckBox* checkLuck = nullptr;
    QLabel* lblMaxLevel = nullptr;
    ListSelector* comboMaxLevel = nullptr;
    QCheckBox* checkExcItem = nullptr;
    const FileLayout* forcedLayout_ = nullptr;  // set while File > Layout reads the file again
    QMenu* mnuLayout = nullptr;

    QLabel* lblDebug = nullptr;

    // Search.
    QLineEdit* txtQuery = nullptr;
    QPushButton* cmdFind = nullptr;
    QCheckBox* optSearchMode = nullptr;
    QListWidget* lstResults = nullptr;

    // Menus.
    QMenu* mnuInsert = nullptr;
    QAction* mnuSave = nullptr;
    QMenu* mnuEncoding = nullptr;
    QMenu* mnuRecent = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuSize0 = nullptr;
    class formAbout* about_ = nullptr;
    class formShopGrid* shopGrid_ = nullptr;
    class formProblems* problems_ = nullptr;
    class formTable* table_ = nullptr;
    bool checkStale_ = false;  // the list changed since the last check
    bool gridStale_ = false;   // the list changed since the grid was laid out
    class MessageLog* messageLog_ = nullptr;
    class formMessages* messages_ = nullptr;
    bool viewsChangePosted_ = false;
    QPointer<class formStorage> storageTarget_;
    // Opens a window on the storage; `path` is empty for a pasted one.
    class formStorage* showStorage(Storage storage, const QString& path);
    // The editor goes back to the list (its history too) from a storage's item.
    void leaveStorageItem();
    bool loadingStorageItem_ = false;

    // Recovery.
    void scheduleRecovery();
    // Asks about one recovery file; true when it was restored.
    bool offerRecovery(const QString& file, const struct Recovery& recovery);
    void restoreList(const struct Recovery& recovery);
    QTimer* recoveryTimer_ = nullptr;
    QStringList recoveriesWritten_;   // the files this run wrote and has not removed
    QStringList recoveriesDeferred_;  // the files the user keeps for later
    int nextStorageId_ = 0;
    bool quitting_ = false;
    QStringList backedUp_;  // the files this run has kept a .bak of
};

}  // namespace vs
