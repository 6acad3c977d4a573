// The list: adding, removing, moving, keys, and loading entries into the editor.
#include "code_manager/code_manager.h"
#include "window/code_page_text.h"
#include "window_fixture.h"

#include <QUndoStack>

#include <random>

#include <QAction>
#include <QMenu>

using namespace vs;
using namespace vs::test;

class ListTest : public QObject {
    Q_OBJECT
private slots:
    void addingInsertsAboveTheSelectionOrAppendsAtTheEnd()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        w.choose("comboItemSelector", "Rapier");
        w.click(w.get<QPushButton>("cmdShopNew"));
        QCOMPARE(texts(list), QStringList({"0,2,0,0,0,0,0,Rapier", "0,2,0,0,0,0,0,Rapier"}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(w.status(), QString("Add Item> Item Added: 0,2,0,0,0,0,0,Rapier"));
        list->setCurrentRow(0);
        w.trigger("mnuComment");
        QCOMPARE(texts(list).at(0), QString("//"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(w.status(), QString("Load Comment Text> Comment line added."));
        w.trigger("mnuBlank");
        QCOMPARE(texts(list), QStringList({"", "//", "0,2,0,0,0,0,0,Rapier", "0,2,0,0,0,0,0,Rapier"}));
        QCOMPARE(w.status(), QString("Load Blank Line> Blank line added."));
    }

    void removingChoosesTheNextSelection()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        w.trigger("mnuInsertItem");
        w.trigger("mnuBlank");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentRow(), 2);
        w.click(w.get<QPushButton>("cmdShopRemove"));
        QCOMPARE(list->currentRow(), 1);  // removing the last row selects the new last row
        QCOMPARE(w.status(), QString("Delete Item> Item Removed: "));
        list->setCurrentRow(0);
        w.trigger("mnuRemoveItem");
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->count(), 1);
        w.click(w.get<QPushButton>("cmdShopRemove"));
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->currentRow(), -1);
        QCOMPARE(w.shop(), QString("0 0 0 0 0 0 0"));  // the editor keeps the removed item
        w.click(w.get<QPushButton>("cmdShopRemove"));
        QCOMPARE(w.status(), QString("Delete Item> The list is empty."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
    }

    void movingKeepsTheRowSelectedWithoutLoadingIt()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        w.trigger("mnuComment");
        QCOMPARE(texts(list), QStringList({"0,0,0,0,0,0,0,Kris", "//"}));
        w.click(w.get<QPushButton>("cmdShopItemShiftU"));
        QCOMPARE(texts(list), QStringList({"//", "0,0,0,0,0,0,0,Kris"}));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->item(0)->data(Qt::UserRole).toInt(), 2);  // the kind moves with the text
        QCOMPARE(w.status(), QString("Load Comment Text> Comment line added."));
        w.click(w.get<QPushButton>("cmdShopItemShiftU"));
        QCOMPARE(texts(list), QStringList({"//", "0,0,0,0,0,0,0,Kris"}));
        w.click(w.get<QPushButton>("cmdShopItemShiftD"));
        QCOMPARE(texts(list), QStringList({"0,0,0,0,0,0,0,Kris", "//"}));
        QCOMPARE(list->currentRow(), 1);
        w.click(w.get<QPushButton>("cmdShopItemShiftD"));
        QCOMPARE(list->currentRow(), 1);
    }

    void keysInTheList()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        list->setFocus();
        QTest::keyClick(list.view(), Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(list->count(), 2);  // Ctrl+Shift+Insert adds an item
        QTest::keyClick(list.view(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(list->currentRow(), 0);
        QTest::keyClick(list.view(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list.view(), Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentRow(), 2);
        QTest::keyClick(list.view(), Qt::Key_Delete);
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(-1);
        QTest::keyClick(list.view(), Qt::Key_Insert);
        QCOMPARE(list->count(), 2);  // keys do nothing without a selected row
    }

    void clearingAsksFirst()
    {
        DataFolder data;
        Window w(data);
        w.dialogs.answerYes = false;
        w.trigger("mnuClearList");
        QCOMPARE(shopList(w)->count(), 1);
        QCOMPARE(w.dialogs.titles.back(), QString("Clear Prompt"));
        QCOMPARE(w.dialogs.messages.back(), QString("Clear this list?"));
        w.dialogs.answerYes = true;
        w.trigger("mnuClearList");
        QCOMPARE(shopList(w)->count(), 0);
        // Clearing an empty list changes nothing: no step, nothing unsaved.
        const int steps = w.form().history()->count();
        w.trigger("mnuClearList");
        QCOMPARE(w.form().history()->count(), steps);
    }

    void commentEntriesAreEditedThroughTheCommentBox()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        w.trigger("mnuComment");
        QCOMPARE(w.comment(), QString("//"));
        QVERIFY(w.check("chkProtectComment")->isChecked());
        QCOMPARE(w.status(), QString("Load Comment Text> Comment line added."));
        w.type("txtShopComment", "// Potions");
        QCOMPARE(list->item(1)->text(), QString("// Potions"));
        w.click(w.check("checkLuck"));
        QCOMPARE(list->item(1)->text(), QString("// Potions"));  // item edits leave a comment row alone
        list->setCurrentRow(0);
        QCOMPARE(w.status(), QString("Load Item> Loaded: Kris"));
        list->setCurrentRow(1);
        QCOMPARE(w.status(), QString("Load Non-Item> Loaded: // Potions"));
        QCOMPARE(w.statusColor(), QColor(0, 255, 0));
    }

    void loadingAnEntryMovesTheEditor()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        putRow(list, "1,5,7,30,1,1,2,House axe", 1);
        list->setCurrentRow(1);
        QCOMPARE(w.combo("comboClassSelector")->currentText(), QString("Axes"));
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Battle Axe"));
        QCOMPARE(w.shop(), QString("1 5 7 30 1 1 2"));
        QCOMPARE(w.comment(), QString("Battle Axe+7+8+Skill+Luck"));
        QCOMPARE(list->item(1)->text(), QString("1,5,7,30,1,1,2,House axe"));  // the row keeps its comment
        QCOMPARE(w.status(), QString("Load Item> Loaded: Battle Axe+7+8+Skill+Luck"));
        QVERIFY(!w.check("chkProtectComment")->isChecked());
        // Editing the loaded item rewrites the row.
        w.choose("comboLevel", "+9");
        QCOMPARE(list->item(1)->text(), QString("1,5,9,30,1,1,2,Battle Axe+9+8+Skill+Luck"));
    }

    void anEntryMissingFromTheCatalogKeepsItsComment()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        putRow(list, "0,31,15.5,12.5,0,0,0,Lost blade", 1);
        list->setCurrentRow(1);
        QCOMPARE(w.comment(), QString("Lost blade"));
        QVERIFY(w.check("chkProtectComment")->isChecked());
        QCOMPARE(w.status(), QString("Load Item> Item does not exist in Data Files. Row 2 names item 31 of class 0; "
                                     "the selectors show Kris instead. Choose an item for it with the class or item "
                                     "selector to replace it; until then no edit is written into the row."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        QCOMPARE(w.shop(), QString("0 31 12 12 0 0 0"));
        QCOMPARE(w.box("txtDur")->text(), QString("12.5"));
        QCOMPARE(w.hex().left(2), QString("1F"));
        // Typing a comment changes the comment alone; the fields stay as they stand.
        w.type("txtShopComment", "Lost sword");
        QCOMPARE(list->item(1)->text(), QString("0,31,15.5,12.5,0,0,0,Lost sword"));
    }

    void updateAllRenamesCatalogItemsOnly()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        putRow(list, "0,3,2,40,0,1,0,old name", 1, 0);
        for (const char* text : {"// note", "0,30,0,0,0,0,0,ghost", "1,1,0,19,1,0,0,axe"})
            putRow(list, text, QString(text).startsWith("//") ? 2 : 1);
        w.trigger("mnuUpdateAll");
        QCOMPARE(texts(list), QStringList({"0,3,2,40,0,1,0,Katana+2+Luck", "// note", "0,30,0,0,0,0,0,ghost",
                                           "1,1,0,19,1,0,0,Hand Axe+Skill"}));
        QCOMPARE(list->currentRow(), 3);
        // The row left as it is is counted.
        QCOMPARE(w.status(), QString("Update All> 1 item row was left as it is: not in the data files, or holding "
                                     "columns the editor cannot show as they stand."));
    }

    void updateAllMakesOfEveryEntryWhatTheEditorMakes()
    {
        // Update All composes the texts without the editor; they must be what
        // loading each entry into the editor and saving it gives.
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        std::mt19937 random(11);
        const char* const values[] = {"0", "1", "2", "3", "5", "11", "12", "13", "14", "15", "16", "31", "32",
                                      "-1", "0.5", "1.5", "2.5", "12.5", "255", "300", "x", "", "&H1", "1e1"};
        // Mostly values the editor shows as they stand: other rows are left alone.
        auto pick = [&] { return QByteArray(values[random() % 8 == 0 ? random() % std::size(values) : random() % 2]); };
        auto list = shopList(w);
        int existing = 0, missing = 0;
        for (int editMode : {0, 1}) {
            w.form().openFile(writeFile(dir, editMode == 0 ? "shop1.txt" : "EventItemBag1.txt", ""));
            for (int r = 0; r < 400; ++r) {
                // Mostly catalog items (some with subtypes), so that most entries exist.
                static const char* const items[] = {"0,0", "0,1", "0,3", "1,5", "6,0", "8,0", "13,8", "13,14",
                                                    "14,11", "14,12", "14,11", "14,12"};
                QByteArray text = random() % 5 == 0 ? QByteArray::number(int(random() % 16)) + "," +
                                                          QByteArray::number(int(random() % 32))
                                                    : QByteArray(items[random() % std::size(items)]);
                for (int f = 2; f < itemFieldCount(editMode); ++f)
                    text += "," + pick();
                putRow(list, text + ",old", 1);
            }
            for (int r = 0; r < list->count(); ++r) {
                const std::string text = w.form().document().at(r).text;
                const std::optional<std::string> updated = updatedEntryText(
                    text, specLayout(editMode).items, w.form().catalog(), [](const std::string& name) { return name; });
                list->setCurrentRow(r);
                clsCodeMan& item = *w.form().item();
                // Rows the editor cannot show as they stand are left as they are.
                if (!item.flgItemExists || item.rowHeld) {
                    QVERIFY2(!updated, text.c_str());
                    ++missing;
                    continue;
                }
                ++existing;
                QVERIFY2(updated, text.c_str());
                const std::string expected = (editMode == 0 ? item.getShopCode(",") : item.getBagCode(",")) + "," +
                                             w.comment().toStdString();
                QCOMPARE(QString::fromStdString(*updated), QString::fromStdString(expected));
            }
        }
        QVERIFY2(existing > 300 && missing > 50, qPrintable(QString("%1 existing, %2 missing").arg(existing).arg(missing)));
    }

    void itemBagEntriesHaveNoDurability()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "EventItemBag9.txt", "14\t11\t1\t0\t1\t0\t//box\r\n"));
        QCOMPARE(w.check("checkLuck")->text(), QString("Excellent"));
        auto list = shopList(w);
        list->setCurrentRow(0);
        QCOMPARE(w.shop(), QString("14 11 1 0 0 1 0"));
        QCOMPARE(w.comment(), QString("Excellent Gift Box of Fortune"));
        w.click(w.check("checkSkill"));
        QCOMPARE(list->item(0)->text(), QString("14,11,1,1,1,0,Excellent Gift Box of Fortune+Skill"));
    }

    void rightClickOffersTheInsertMenu()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(40, 8));
        auto* menu = w.get<QMenu>("mnuInsert");
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(list->currentRow(), 0);
        menu->close();
    }
};

QTEST_MAIN(ListTest)
#include "list_test.moc"
