#pragma once

#include "window/code_box.h"
#include "window/dialog_seam.h"
#include "window/form_tolvane.h"
#include "window/list_selector.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace vs::test {

class Window;

// Answers every modal box without showing it, and remembers what was asked.
class RecordingDialogs : public DialogSeam {
public:
    QStringList titles, messages;
    bool answerYes = true;
    SaveAnswer saveAnswer = SaveAnswer::Cancel;
    int saveQuestions = 0;
    QString nextOpen, nextSave;

    void message(QWidget*, const QString& title, const QString& text) override
    {
        titles << title;
        messages << text;
    }
    bool askYesNo(QWidget*, const QString& title, const QString& text) override
    {
        titles << title;
        messages << text;
        return answerYes;
    }
    SaveAnswer askSaveChanges(QWidget*, const QString& title, const QString& text) override
    {
        titles << title;
        messages << text;
        ++saveQuestions;
        return saveAnswer;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return nextOpen; }
    QStringList proposedSaves;  // what each save dialog proposed
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString& proposed) override
    {
        proposedSaves << proposed;
        return nextSave;
    }
    RecoveryAnswer recoveryAnswer = RecoveryAnswer::Later;
    QStringList recoveryOffers;
    RecoveryAnswer askRecovery(QWidget*, const QString&, const QString& text) override
    {
        recoveryOffers << text;
        return recoveryAnswer;
    }
    // The answer to the next question for a line of text; none cancels it.
    std::optional<QString> nextText;
    std::optional<QString> askText(QWidget*, const QString& title, const QString& label, const QString&) override
    {
        titles << title;
        messages << label;
        return nextText;
    }
    // The storage to open from a database; none cancels. What was proposed is kept.
    std::optional<DatabaseStorageRequest> nextDatabaseStorage;
    QList<DatabaseStorageRequest> proposedDatabaseStorages;
    bool askDatabaseStorage(QWidget*, DatabaseStorageRequest& request) override
    {
        proposedDatabaseStorages << request;
        if (!nextDatabaseStorage)
            return false;
        request = *nextDatabaseStorage;
        return true;
    }
    std::optional<QString> nextPassword;
    int passwordQuestions = 0;
    std::optional<QString> askPassword(QWidget*, const QString& title, const QString&) override
    {
        titles << title;
        ++passwordQuestions;
        return nextPassword;
    }
    ConflictAnswer conflictAnswer = ConflictAnswer::Cancel;
    QStringList conflicts;
    ConflictAnswer askConflict(QWidget*, const QString& title, const QString& text) override
    {
        titles << title;
        conflicts << text;
        return conflictAnswer;
    }
};

// A small catalog whose every item plays a part in the tests.
inline const char* kTestItems =
    "// test catalog\r\n"
    "0\r\n"
    "0\t1\t3\t0\t0\t0\t\"Kris\"\t0\t0\t0\t20\r\n"
    "1\t1\t3\t0\t0\t0\t\"Short Sword\"\t0\t0\t0\t22\r\n"
    "2\t1\t3\t0\t0\t0\t\"Rapier\"\t0\t0\t0\t23\r\n"
    "3\t1\t4\t0\t0\t0\t\"Katana\"\t0\t0\t0\t40\r\n"
    "1\r\n"
    "0\t1\t3\t0\t0\t0\t\"Small Axe\"\t0\t0\t0\t18\r\n"
    "1\t1\t3\t0\t0\t0\t\"Hand Axe\"\t0\t0\t0\t19\r\n"
    "5\t2\t3\t0\t0\t0\t\"Battle Axe\"\t0\t0\t0\t30\r\n"
    "6\r\n"
    "0\t2\t2\t0\t0\t0\t\"Buckler\"\t0\t0\t0\t30\r\n"
    "8\r\n"
    "0\t2\t3\t0\t0\t0\t\"Bronze Armor\"\t0\t0\t0\t35\r\n"
    "13\r\n"
    "8\t1\t1\t0\t0\t0\t\"Ring of Ice\"\t0\t0\t0\t50\r\n"
    "14\t1\t2\t0\t0\t0\t\"Feather\"\t0\t0\t0\t1\r\n"
    "14\r\n"
    "11\t1\t1\t0\t0\t0\t\"Gift Box\"\t0\t0\t0\t1\r\n"
    "12\t1\t1\t0\t0\t0\t\"Heart\"\t0\t0\t0\t1\r\n"
    "end\r\n";

inline const char* kTestSubTypes =
    "14 11\r\n"
    "0 \"Small Gift Box\"\r\n"
    "1 \"Gift Box of Fortune\"\r\n"
    "14 12\r\n"
    "1 \"Heart of Love\"\r\n"
    "2 \"Heart of Friendship\"\r\n";

// lstShop as the tests drive it: the view over the document's rows, through
// the calls the tests make of a list (a row's text, kind, tool-tip and mark;
// the current row; clicks on the viewport).
class ShopList {
public:
    explicit ShopList(QListView* view);
    const ShopList* operator->() const { return this; }

    class Row {
    public:
        explicit Row(const QModelIndex& index) : index_(index) {}
        const Row* operator->() const { return this; }
        QString text() const { return index_.data().toString(); }
        QVariant data(int role) const { return index_.data(role); }
        QString toolTip() const { return index_.data(Qt::ToolTipRole).toString(); }
        QIcon icon() const { return index_.data(Qt::DecorationRole).value<QIcon>(); }
        const QModelIndex& index() const { return index_; }

    private:
        QModelIndex index_;
    };

    int count() const { return view_->model()->rowCount(); }
    Row item(int row) const { return Row(view_->model()->index(row, 0)); }
    // The keyboard's current row, selected or not; -1 when there is none.
    int currentRow() const { return view_->currentIndex().row(); }
    // Selects the row as clicking it does (none for -1).
    void setCurrentRow(int row) const;
    void clearSelection() const { view_->clearSelection(); }
    QRect visualItemRect(const Row& row) const { return view_->visualRect(row.index()); }
    QWidget* viewport() const { return view_->viewport(); }
    void setFocus(Qt::FocusReason reason = Qt::OtherFocusReason) const { view_->setFocus(reason); }
    QListView* view() const { return view_; }
    formTolvane& form() const;

private:
    QListView* view_;
};

// The list of the window (or of any formTolvane).
ShopList shopList(Window& window);
ShopList shopList(QWidget& window);

// The texts of a list's rows, top to bottom.
QStringList texts(const QListWidget* list);
QStringList texts(const ShopList& list);
QStringList texts(const QAbstractItemView* view);
// Puts a row holding `text` and `kind` into the list, at the end or in place of
// row `at`, as if a file had held it (no step of the list's history).
void putRow(const ShopList& list, const QByteArray& text, int kind, int at = -1);
// Clicks the row with the mouse.
void clickRow(const ShopList& list, int row);
void clickRow(QListWidget* list, int row);
// The bytes of a file, or "<missing>".
QByteArray readFile(const QString& path);
// Writes a file into `dir` and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// A data folder holding the two files.
class DataFolder {
public:
    DataFolder(const QByteArray& items = kTestItems, const QByteArray& subtypes = kTestSubTypes,
               bool withItems = true, bool withSubTypes = true);
    std::filesystem::path path() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
};

// The started window and handy ways to reach its controls by name.
class Window {
public:
    explicit Window(const DataFolder& data);
    formTolvane& form() { return *form_; }
    RecordingDialogs dialogs;

    template <typename T>
    T* get(const char* name)
    {
        T* child = form_->findChild<T*>(name);
        if (!child)
            qFatal("no control named %s", name);
        return child;
    }
    ListSelector* combo(const char* name) { return get<ListSelector>(name); }
    QLineEdit* box(const char* name) { return get<QLineEdit>(name); }
    CodeBox* code(const char* name) { return get<CodeBox>(name); }
    QCheckBox* check(const char* name) { return get<QCheckBox>(name); }
    QToolButton* category(int index);
    QString status() { return get<QLabel>("lblDebug")->text(); }
    QColor statusColor() { return get<QLabel>("lblDebug")->palette().color(QPalette::WindowText); }
    QString hex() { return box("txtResultHex")->text(); }
    QString shop() { return box("txtResultShop")->text(); }
    QString comment() { return box("txtShopComment")->text(); }
    QStringList rows(const char* comboName);

    // What the user does.
    void choose(const char* comboName, const QString& rowText);
    void click(QWidget* widget);
    void type(const char* boxName, const QString& text);
    // Replaces the box's whole text at once, as pasting does.
    void paste(const char* boxName, const QString& text);
    // Runs a menu command, as choosing it in the menu does.
    void trigger(const char* actionName);

private:
    std::unique_ptr<formTolvane> form_;
};

}  // namespace vs::test
