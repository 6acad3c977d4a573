// Undo and redo of the list's commands, and the question about unsaved changes.
#include "window_fixture.h"

#include <QProgressDialog>
#include <QTimer>
#include <QUndoStack>

using namespace vs;
using namespace vs::test;

namespace {

// What the list holds: each row's text and kind, and the selected row.
struct ListState {
    QStringList rows;
    QList<int> kinds;
    int selected;
    bool operator==(const ListState&) const = default;
};

ListState state(Window& w)
{
    auto list = shopList(w);
    ListState s{texts(list), {}, w.form().selectedRow()};
    for (int r = 0; r < list->count(); ++r)
        s.kinds << list->item(r)->data(Qt::UserRole).toInt();
    return s;
}

char* toString(const ListState& s)
{
    QStringList kinds;
    for (int k : s.kinds)
        kinds << QString::number(k);
    return qstrdup(qPrintable(s.rows.join(" | ") + " kinds " + kinds.join(",") +
                              " selected " + QString::number(s.selected)));
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandUndoesAndRedoes()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop1.txt",
                                    "// head\r\n0 1 0 20 0 0 0 //Kris\r\n1 0 0 18 0 0 0 9 //Axe//kept\r\n"));
        auto list = shopList(w);
        list->setCurrentRow(1);
        const struct {
            const char* name;
            std::function<void()> command;
            QString caption;
        } commands[] = {
            {"add", [&] { w.trigger("mnuInsertItem"); }, "Add Item"},
            {"blank", [&] { w.trigger("mnuBlank"); }, "Add Blank Line"},
            {"comment", [&] { w.trigger("mnuComment"); }, "Add Comment Line"},
            {"remove", [&] { w.click(w.get<QPushButton>("cmdShopRemove")); }, "Remove Item"},
            {"down", [&] { w.click(w.get<QPushButton>("cmdShopItemShiftD")); }, "Move Down"},
            {"up", [&] { w.click(w.get<QPushButton>("cmdShopItemShiftU")); }, "Move Up"},
            {"edit", [&] { w.click(w.check("checkSkill")); }, "Edit Entry"},
            {"update all", [&] { w.trigger("mnuUpdateAll"); }, "Update All Items"},
            {"remove all", [&] { w.trigger("mnuClearList"); }, "Remove All Items"},
        };
        for (const auto& c : commands) {
            list->setCurrentRow(std::min(2, list->count() - 1));
            const ListState before = state(w);
            c.command();
            const ListState after = state(w);
            QVERIFY2(!(after == before), c.name);
            QCOMPARE(w.get<QAction>("mnuUndo")->text(), "Undo " + c.caption);
            w.trigger("mnuUndo");
            QCOMPARE(state(w), before);
            QCOMPARE(w.get<QAction>("mnuRedo")->text(), "Redo " + c.caption);
            w.trigger("mnuRedo");
            QCOMPARE(state(w), after);
        }
        // Undoing everything gives back the file as it was opened, remainders and all.
        while (w.form().history()->canUndo())
            w.trigger("mnuUndo");
        QVERIFY(!w.form().isWindowModified());
        w.trigger("mnuSave");
        QCOMPARE(readFile(w.form().currFile),
                 QByteArray("// head\r\n0 1 0 20 0 0 0 //Kris\r\n1 0 0 18 0 0 0 9 //Axe//kept\r\nend\r\n"));
    }

    void theKeysUndoAndRedoAlsoInsideTextBoxes()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        w.trigger("mnuBlank");
        QCOMPARE(list->count(), 2);
        QTest::keyClick(&w.form(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->count(), 1);
        QTest::keyClick(w.box("txtQuery"), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(list->count(), 2);
        QTest::keyClick(&w.form(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&w.form(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(list->count(), 2);
    }

    void undoShowsTheSelectedEntryWithoutWriting()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        putRow(list, "1,5,7,30,1,1,2,House axe", 1);
        list->setCurrentRow(1);
        w.choose("comboLevel", "+9");
        QCOMPARE(list->item(1)->text(), QString("1,5,9,30,1,1,2,Battle Axe+9+8+Skill+Luck"));
        list->setCurrentRow(0);
        w.trigger("mnuUndo");
        QCOMPARE(list->item(1)->text(), QString("1,5,7,30,1,1,2,House axe"));  // the stored comment is back
        QCOMPARE(w.form().selectedRow(), 1);
        QCOMPARE(w.shop(), QString("1 5 7 30 1 1 2"));
        QCOMPARE(w.status(), QString("Load Item> Loaded: Battle Axe+7+8+Skill+Luck"));
        QVERIFY(!w.form().history()->canUndo());
    }

    void updateAllCanBeStoppedAndIsOneStep()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        for (int r = 0; r < 600; ++r)
            putRow(list, "0,3,0,40,0,0,0,old", 1);
        w.form().updateAllProgressDelay = 0;  // show the progress at once
        // Cancel once the progress has moved past its first step.
        QTimer canceller;
        QObject::connect(&canceller, &QTimer::timeout, &w.form(), [&] {
            auto* progress = w.form().findChild<QProgressDialog*>("dlgUpdateAll");
            if (progress && progress->value() > 0)
                progress->cancel();
        });
        canceller.start(0);
        w.trigger("mnuUpdateAll");
        canceller.stop();
        QVERIFY2(w.status().startsWith("Update All> Stopped: rows 1 to "), qPrintable(w.status()));
        const QStringList after = texts(list);
        QCOMPARE(after.last(), QString("0,3,0,40,0,0,0,old"));  // not reached
        QCOMPARE(after.at(10), QString("0,3,0,40,0,0,0,Katana"));  // done
        QCOMPARE(w.form().history()->count(), 1);
        w.trigger("mnuUndo");
        QCOMPARE(after.size(), list->count());
        QCOMPARE(list->item(10)->text(), QString("0,3,0,40,0,0,0,old"));
    }

    void movedLinesTakeTheirOwnLineEnds()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // Two rows alike in text, unlike in line end.
        const QString bag = writeFile(dir, "EventItemBag1.txt", "// x\n// x\r\n// y\r\n");
        w.form().openFile(bag);
        shopList(w)->setCurrentRow(0);
        w.click(w.get<QPushButton>("cmdShopItemShiftD"));
        w.trigger("mnuSave");
        QCOMPARE(readFile(bag), QByteArray("// x\r\n// x\n// y\r\n"));
    }

    void editsOfOneEntryMergeIntoOneStep()
    {
        DataFolder data;
        Window w(data);
        auto list = shopList(w);
        const QString start = list->item(0)->text();
        w.type("txtShopComment", "Sharp");
        w.click(w.check("checkLuck"));
        QCOMPARE(w.form().history()->count(), 1);
        w.trigger("mnuUndo");
        QCOMPARE(list->item(0)->text(), start);
        w.trigger("mnuBlank");
        list->setCurrentRow(0);
        w.click(w.check("checkSkill"));
        QCOMPARE(w.form().history()->count(), 2);  // an edit after another command is a step of its own
    }

    void theQuestionGuardsUnsavedWork()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop1.txt", "0 1 0 20 0 0 0 //Kris\r\n");
        w.form().openFile(shop);
        QVERIFY(!w.form().isWindowModified());
        auto list = shopList(w);
        list->setCurrentRow(0);
        w.click(w.check("checkSkill"));
        QVERIFY(w.form().isWindowModified());
        QVERIFY(w.form().windowTitle().contains("[*]"));
        QCOMPARE(w.form().caption(), QString("Vaultsmith - shop1.txt"));

        // Cancel keeps everything: Exit, Ctrl+X inside the search box, closing, Open.
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        w.trigger("mnuExit");
        QTest::keyClick(w.box("txtQuery"), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!w.form().close());
        w.dialogs.nextOpen = writeFile(dir, "shop2.txt", "// other\r\n");
        w.trigger("mnuOpen");
        QCOMPARE(w.dialogs.saveQuestions, 4);
        QVERIFY(w.form().isVisible());
        QCOMPARE(w.form().currFile, shop);
        QCOMPARE(list->item(0)->text(), QString("0,1,0,20,1,0,0,Short Sword+Skill"));

        // The About box reads the caption without the mark.
        w.trigger("mnuAboutProg");
        auto* about = w.form().findChild<QWidget*>("formAbout");
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QString("About Vaultsmith - shop1.txt"));
        about->close();

        // Save writes the file, then the command goes on.
        w.dialogs.saveAnswer = SaveAnswer::Save;
        w.trigger("mnuOpen");
        QCOMPARE(readFile(shop), QByteArray("0 1 0 20 1 0 0 //Short Sword+Skill\r\nend\r\n"));
        QCOMPARE(texts(list), QStringList({"// other"}));

        // Discard drops the change and goes on; no question once nothing is unsaved.
        w.trigger("mnuBlank");
        w.dialogs.saveAnswer = SaveAnswer::Discard;
        w.dialogs.nextOpen = shop;
        w.trigger("mnuOpen");
        QCOMPARE(w.dialogs.saveQuestions, 6);
        QCOMPARE(w.form().currFile, shop);
        w.trigger("mnuOpen");
        QCOMPARE(w.dialogs.saveQuestions, 6);
        // Nor after a save.
        w.trigger("mnuBlank");
        w.trigger("mnuSave");
        QVERIFY(!w.form().isWindowModified());
        w.trigger("mnuOpen");
        QCOMPARE(w.dialogs.saveQuestions, 6);

        // Undoing back to the saved state clears the mark and asks nothing.
        list->setCurrentRow(0);
        w.click(w.check("checkLuck"));
        QVERIFY(w.form().isWindowModified());
        w.trigger("mnuUndo");
        QVERIFY(!w.form().isWindowModified());
        QVERIFY(w.form().close());
        QCOMPARE(w.dialogs.saveQuestions, 6);
    }

    void savingAListThatHasNoFileAsksForAName()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.trigger("mnuBlank");
        w.dialogs.saveAnswer = SaveAnswer::Save;
        w.dialogs.nextSave.clear();  // the name dialog is cancelled: so is closing
        QVERIFY(!w.form().close());
        w.dialogs.nextSave = dir.filePath("shop9.txt");
        QVERIFY(w.form().close());
        QCOMPARE(readFile(dir.filePath("shop9.txt")), QByteArray("0 0 0 0 0 0 0 //Kris\r\n\r\nend\r\n"));
    }

    void aFailedSaveCancelsTheCommand()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop1.txt", "// x\r\n");
        w.form().openFile(shop);
        w.trigger("mnuBlank");
        QVERIFY(QFile::setPermissions(shop, QFileDevice::ReadOwner));
        w.dialogs.saveAnswer = SaveAnswer::Save;
        QVERIFY(!w.form().close());
        QVERIFY2(w.status().startsWith("Save> 13: "), qPrintable(w.status()));
        QCOMPARE(readFile(shop), QByteArray("// x\r\n"));
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
