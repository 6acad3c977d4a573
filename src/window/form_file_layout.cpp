// File > Layout: the columns and sections of the document's lines, chosen
// from the file when it is opened, by the user, and for new documents.
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "window/form_tolvane.h"
#include "window/code_page_text.h"
#include "window/list_selector.h"
#include "window/settings.h"
#include "window/text_bytes.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QUndoStack>

namespace vs {

namespace {

QString newLayoutKey(int editMode)
{
    return editMode == 1 ? "layout/newItemBag" : "layout/newShop";
}

QString layoutLabel(const FileLayout& layout)
{
    QString text = QString::fromLatin1(layout.label.data(), static_cast<int>(layout.label.size()));
    text[0] = text[0].toUpper();
    return text + " (" + QString::fromStdString(layout.columnNames()) + ")";
}

}  // namespace

const FileLayout& formTolvane::newDocumentLayout(int editMode)
{
    const QString name = settings().value(newLayoutKey(editMode)).toString();
    const FileLayout* layout = layoutByName(name.toStdString());
    return layout && layout->editMode == editMode ? *layout : specLayout(editMode);
}

void formTolvane::buildLayoutMenu(QMenu* file)
{
    mnuLayout = file->addMenu("Layout");
    mnuLayout->setObjectName("mnuLayout");
    auto* current = new QActionGroup(mnuLayout);
    for (const FileLayout& layout : builtInLayouts()) {
        QAction* action = mnuLayout->addAction(layoutLabel(layout));
        action->setObjectName("mnuLayout_" + QString::fromLatin1(layout.name.data(), int(layout.name.size())));
        action->setCheckable(true);
        current->addAction(action);
        const FileLayout* chosen = &layout;
        connect(action, &QAction::triggered, this, [this, chosen] { chooseLayout(*chosen); });
    }
    QMenu* forNew = mnuLayout->addMenu("For New Documents");
    forNew->setObjectName("mnuLayoutNew");
    for (int kind : {0, 1}) {
        auto* group = new QActionGroup(forNew);
        for (const FileLayout& layout : builtInLayouts()) {
            if (layout.editMode != kind)
                continue;
            QAction* action = forNew->addAction(layoutLabel(layout));
            action->setObjectName("mnuLayoutNew_" + QString::fromLatin1(layout.name.data(), int(layout.name.size())));
            action->setCheckable(true);
            group->addAction(action);
            const FileLayout* chosen = &layout;
            connect(action, &QAction::triggered, this, [this, chosen] { chooseNewDocumentLayout(*chosen); });
        }
        if (kind == 0)
            forNew->addSeparator();
    }
    connect(mnuLayout, &QMenu::aboutToShow, this, [this] { markLayoutMenu(); });
    markLayoutMenu();
}

void formTolvane::markLayoutMenu()
{
    if (!mnuLayout)
        return;
    for (QAction* action : mnuLayout->findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.startsWith("mnuLayoutNew_")) {
            const FileLayout* layout = layoutByName(name.mid(13).toStdString());
            action->setChecked(layout && layout == &newDocumentLayout(layout->editMode));
        } else if (name.startsWith("mnuLayout_")) {
            action->setChecked(name.mid(10).toStdString() == layout().name);
        }
    }
}

void formTolvane::applyLayout(const FileLayout& layout)
{
    document_.setLayout(layout);
    editMode_ = static_cast<int16_t>(layout.editMode);
    // The 6-column item bag's fifth column is captioned "Excellent"; a layout
    // with a luck column and an excellent flag of its own says "Luck".
    checkLuck->setText(fromBytes(luckCaption(layout.items.naming)));
    const bool range = layout.items.has(ColumnRole::MaxLevel);
    lblMaxLevel->setVisible(range);
    comboMaxLevel->setVisible(range);
    checkExcItem->setVisible(layout.items.has(ColumnRole::ExcellentFlag));
    markLayoutMenu();
}

void formTolvane::chooseLayout(const FileLayout& layout)
{
    if (&layout == &document_.layout() || !maySetListAside()) {
        markLayoutMenu();
        return;
    }
    if (!currFile.isEmpty()) {
        forcedLayout_ = &layout;
        openFile(currFile);
        forcedLayout_ = nullptr;
        markLayoutMenu();
        return;
    }
    // A list without a file: its rows as they would be saved, read in the new layout.
    ListFile read = readListFile(document_.fileBytes(), layout);
    applyLayout(layout);
    showEntries(std::move(read.entries), std::move(read.source));
    tellUser(StatusColor::White, "Layout> The list is in the layout " + layoutLabel(layout) + ".");
}

void formTolvane::chooseNewDocumentLayout(const FileLayout& layout)
{
    settings().setValue(newLayoutKey(layout.editMode), QString::fromLatin1(layout.name.data(), int(layout.name.size())));
    markLayoutMenu();
    tellUser(StatusColor::White, "Layout> New documents use the layout " + layoutLabel(layout) + ".");
}

}  // namespace vs
