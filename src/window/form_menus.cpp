// The menu bar, its shortcuts, and the keys and mouse of the list.
#include "window/form_tolvane.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QUndoGroup>

#include <algorithm>

namespace vs {

namespace {

template <typename Handler>
QAction* addItem(QMenu* menu, const char* name, const char* caption, const char* shortcut, Handler handler)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (shortcut)
        action->setShortcut(QKeySequence(shortcut));
    QObject::connect(action, &QAction::triggered, menu, handler);
    return action;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(QString(name) + "Action");
    return menu;
}

}  // namespace

void formTolvane::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = addMenu(bar, "mnuFile", "File");
    addItem(file, "mnuOpen", "Open", "Ctrl+O", [this] { mnuOpen_Click(); });
    mnuSave = addItem(file, "mnuSave", "Save", "Ctrl+S", [this] { mnuSave_Click(); });
    mnuSave->setEnabled(false);
    addItem(file, "mnuSaveAs", "Save as...", "Ctrl+A", [this] { mnuSaveAs_Click(); });
    mnuRecent = file->addMenu("Recent Files");
    mnuRecent->setObjectName("mnuRecent");
    connect(mnuRecent, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });  // another window may have added one
    fillRecentMenu();
    buildEncodingMenu(file);
    buildLayoutMenu(file);
    addItem(file, "mnuOpenStorage", "Open Storage...", "Ctrl+W", [this] { mnuOpenStorage_Click(); });
    addItem(file, "mnuOpenStorageDb", "Open Storage from Database...", nullptr, [this] { mnuOpenStorageDb_Click(); });
    file->addSeparator()->setObjectName("sp1");
    addItem(file, "mnuExit", "Exit", "Ctrl+X", [this] { mnuExit_Click(); });

    QMenu* edit = addMenu(bar, "mnuEdit", "Edit");
    addItem(edit, "mnuUpdateAll", "Update All Items", "Ctrl+U", [this] { mnuUpdateAll_Click(); });
    mnuInsert = edit->addMenu("Insert");
    mnuInsert->setObjectName("mnuInsert");
    addItem(mnuInsert, "mnuInsertItem", "New Item", "Ctrl+I", [this] { cmdShopNew_Click(); });
    addItem(mnuInsert, "mnuBlank", "Blank Line", "Ctrl+B", [this] { mnuBlank_Click(); });
    addItem(mnuInsert, "mnuComment", "Comment Line", "Ctrl+C", [this] { mnuComment_Click(); });
    addItem(edit, "mnuRemoveItem", "Remove Selected Item", nullptr, [this] { cmdShopRemove_Click(); });
    addItem(edit, "mnuClearList", "Remove All Items", "Ctrl+R", [this] { mnuClearList_Click(); });
    edit->addSeparator()->setObjectName("sp2");
    addItem(edit, "mnuVCodeCopy", "Copy Vault Code", "Ctrl+V", [this] { mnuVCodeCopy_Click(); });
    addItem(edit, "mnuShopCodeCopy", "Copy Shop Code", "Ctrl+H", [this] { mnuShopCodeCopy_Click(); });
    addItem(edit, "mnuPasteStorage", "Paste Storage", "Ctrl+Shift+V", [this] { mnuPasteStorage_Click(); });
    edit->addSeparator()->setObjectName("sp3");
    // The captions name the step: "Undo Remove Item", "Redo Edit Entry".
    QAction* undo = undoGroup_->createUndoAction(edit, "Undo");
    undo->setObjectName("mnuUndo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    edit->addAction(undo);
    QAction* redo = undoGroup_->createRedoAction(edit, "Redo");
    redo->setObjectName("mnuRedo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    edit->addAction(redo);
    addItem(edit, "mnuCheck", "Check File", "F7", [this] { mnuCheck_Click(); });
    edit->addSeparator()->setObjectName("sp4");
    buildSettingsMenuItems(file, edit);

    mnuView = addMenu(bar, "mnuView", "View");
    addItem(mnuView, "mnuTable", "Table", "Ctrl+T", [this] { mnuTable_Click(); });
    addItem(mnuView, "mnuMessages", "Messages", nullptr, [this] { mnuMessages_Click(); });

    QMenu* window = addMenu(bar, "mnuWindow", "Window");
    mnuSize0 = addItem(window, "mnuSize0", "Original Size", nullptr, [this] { mnuSize0_Click(); });
    mnuSize0->setEnabled(false);
    addItem(window, "mnuShopGrid", "Shop Grid", "Ctrl+G", [this] { mnuShopGrid_Click(); });

    QMenu* about = addMenu(bar, "mnuAbout", "About");
    addItem(about, "mnuAboutProg", "The Program", "Ctrl+P", [this] { mnuAboutProg_Click(); });
}

bool formTolvane::eventFilter(QObject* watched, QEvent* event)
{
    // A file dropped on a text box opens the file; it is not pasted as text.
    if ((event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop) &&
        qobject_cast<QLineEdit*>(watched) && takeFileDrop(static_cast<QDropEvent*>(event)))
        return true;
    // The menu shortcuts win over the text boxes' own Ctrl keys (copy, paste,
    // cut, select all...): a box never claims a key that a menu item carries.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        // Unless the user wants the usual select all, copy, paste and cut there.
        static const QKeySequence kStandard[] = {QKeySequence("Ctrl+A"), QKeySequence("Ctrl+C"),
                                                 QKeySequence("Ctrl+V"), QKeySequence("Ctrl+X")};
        if (standardKeysWanted() && std::find(std::begin(kStandard), std::end(kStandard), pressed) != std::end(kStandard)) {
            event->accept();
            return true;
        }
        for (QAction* action : findChildren<QAction*>())
            if (action->shortcuts().contains(pressed)) {
                event->ignore();
                return true;
            }
    }
    if (watched == lstShop && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete ||
            (key->key() == Qt::Key_Plus && (key->modifiers() & Qt::KeypadModifier))) {
            lstShop_KeyDown(key->key(), key->modifiers());
            return true;
        }
    }
    if (lstShop && watched == lstShop->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            lstShop_MouseDown(mouse->button(), mouse->position().toPoint());
            return true;
        }
    }
    if (lstResults && watched == lstResults->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QListWidgetItem* hit = lstResults->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        resultPressedOnSelected_ = hit && hit->isSelected();
    }
    if (watched == txtQuery && event->type() == QEvent::FocusIn)
        txtQuery_GotFocus();
    if (watched == txtQuery && event->type() == QEvent::FocusOut)
        txtQuery_LostFocus();
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vs
