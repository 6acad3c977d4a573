// File > Open, Save and Save as... through the window.
#include "window/form_storage.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QDir>

using namespace vs;
using namespace vs::test;

class FileTest : public QObject {
    Q_OBJECT
private slots:
    void openReplacesTheListAndNamesTheFile()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        QVERIFY(!w.get<QAction>("mnuSave")->isEnabled());
        w.dialogs.nextOpen = writeFile(dir, "Shop7.txt", "// goods\r\n\r\n0 3 0 40 0 0 0 //Katana\r\nabc\r\nend\r\n");
        w.trigger("mnuOpen");
        auto list = shopList(w);
        QCOMPARE(texts(list), QStringList({"// goods", "", "0,3,0,40,0,0,0,Katana", "abc", "end"}));
        QCOMPARE(list->item(3)->data(Qt::UserRole).toInt(), 2);  // lines of other kinds are kept as comments
        QCOMPARE(list->currentRow(), -1);
        QCOMPARE(w.status(), QString("Open> File Opened: Shop7.txt (layout: shop, 7 columns, Type Index Level Durab Skill Luck Option)"));
        QCOMPARE(w.statusColor(), QColor(0, 255, 0));
        QCOMPARE(w.form().caption(), QString("Vaultsmith - Shop7.txt"));
        QVERIFY(w.get<QAction>("mnuSave")->isEnabled());
        QCOMPARE(w.shop(), QString("0 0 0 0 0 0 0"));  // the editor keeps its item
    }

    void openRefusesAndReportsFailures()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.dialogs.nextOpen = writeFile(dir, "items.txt", "1 2 3");
        w.trigger("mnuOpen");
        QCOMPARE(w.status(), QString("Open> \"items.txt\" is invalid."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        w.dialogs.nextOpen = dir.filePath("bag-missing.txt");
        w.trigger("mnuOpen");
        QCOMPARE(w.status(), QString("Open> File \"bag-missing.txt\" not found."));
        // A failed Open leaves the document's kind alone, so a later Save writes the list it holds.
        QCOMPARE(w.check("checkLuck")->text(), QString("Luck"));
        QCOMPARE(w.form().editMode(), 0);
        QVERIFY(QDir(dir.path()).mkdir("shopdir"));
        w.dialogs.nextOpen = dir.filePath("shopdir");
        w.trigger("mnuOpen");
        QVERIFY2(w.status().startsWith("Open> File \"shopdir\" cannot be read"), qPrintable(w.status()));
        w.dialogs.nextOpen.clear();
        w.trigger("mnuOpen");
        QCOMPARE(w.status(), QString("Open> File Open was cancelled."));
        QCOMPARE(shopList(w)->count(), 1);  // the old list stays
        QCOMPARE(w.form().caption(), QString("Vaultsmith"));
    }

    void saveWritesTheOpenedFileAndSaveAsAnother()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop1.txt", "14 3 0 255 0 0 0 //Potion\r\n");
        w.form().openFile(shop);
        auto list = shopList(w);
        list->setCurrentRow(0);
        w.type("txtShopComment", "Red potion");
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop), QByteArray("14 3 0 255 0 0 0 //Red potion\r\nend\r\n"));
        QCOMPARE(w.status(), QString("Save> File Saved: shop1.txt"));

        w.dialogs.nextSave = dir.filePath("copy.txt");
        w.trigger("mnuSaveAs");
        QCOMPARE(readFile(dir.filePath("copy.txt")), readFile(shop));
        QCOMPARE(w.form().caption(), QString("Vaultsmith - shop1.txt"));
        w.trigger("mnuBlank");
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop), QByteArray("14 3 0 255 0 0 0 //Red potion\r\n\r\nend\r\n"));

        w.dialogs.nextSave.clear();
        w.trigger("mnuSaveAs");
        QCOMPARE(w.status(), QString("Save> File Save was cancelled."));
    }

    void aFailedSaveLeavesTheFileWhole()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.dialogs.nextSave = dir.filePath("no/such/folder/shop.txt");
        w.trigger("mnuSaveAs");
        QVERIFY2(w.status().startsWith("Save> "), qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));

        const QString shop = writeFile(dir, "shop2.txt", "1 1 1 1 1 1 1\r\n");
        w.form().openFile(shop);
        shopList(w)->setCurrentRow(0);
        w.paste("txtShopComment", QString::fromUtf8("Жезл"));
        QCOMPARE(w.comment(), QString("Hand Axe+1+4+Skill+Luck"));
        QLineEdit* comment = w.box("txtShopComment");
        comment->setFocus();
        QTest::sendKeyEvent(QTest::Click, comment, Qt::Key_unknown, QString::fromUtf8("Ж"), Qt::NoModifier);
        QCOMPARE(w.comment(), QString("Hand Axe+1+4+Skill+Luck"));  // refused as it is typed
        QVERIFY2(w.status().startsWith("Comment> "), qPrintable(w.status()));
        // A row holding a line break, which no line can hold, is refused when saving.
        putRow(shopList(w), "1,1,1,1,1,1,1,two\nlines", 1, 0);
        w.trigger("mnuSave");
        QVERIFY2(w.status().startsWith("Save> Row 1 holds a line break"), qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        QCOMPARE(readFile(shop), QByteArray("1 1 1 1 1 1 1\r\n"));
    }

    void bagLayoutFollowsTheExcellentFlag()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString bag = writeFile(dir, "EventItemBag9.txt", "14 11 0 0 0 0 //box\r\n");
        w.form().openFile(bag);
        QVERIFY(!w.form().bagIsBoK());
        shopList(w)->setCurrentRow(0);
        w.click(w.check("checkLuck"));
        QVERIFY(w.form().bagIsBoK());
        w.trigger("mnuSave");
        QCOMPARE(readFile(bag), QByteArray("\t14\t11\t0\t0\t1\t0\t//Excellent Small Gift Box\r\n"));
    }

    void everyByteOfAnEntrySurvivesOpenAndSave()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QByteArray bytes("// \xE9t\xE9 \x01\xFF\r\n0 0 0 0 0 0 0 //\xC4pfel\r\nend\r\n");
        const QString shop = writeFile(dir, "shop3.txt", bytes);
        w.form().openFile(shop);
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop), bytes);
    }

    void corpusFilesSaveAsTheCliNormalizes()
    {
        const QDir corpus(VAULTSMITH_CORPUS_DIR);
        if (!corpus.exists())
            QSKIP("corpus not found beside the project; corpus checks skipped");
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        for (const QString& name : corpus.entryList(QDir::Files)) {
            const QString copy = writeFile(dir, name, readFile(corpus.filePath(name)));
            w.form().openFile(copy);
            w.trigger("mnuSave");
            const QByteArray saved = readFile(copy);
            w.form().openFile(copy);
            w.trigger("mnuSave");
            QCOMPARE(readFile(copy), saved);
            QVERIFY2(!saved.isEmpty(), qPrintable(name));
        }
    }

    void theFirstSaveOfARunOverAFileKeepsItAsABackup()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        QVERIFY(w.get<QAction>("mnuBackup")->isChecked());  // on unless turned off
        const QByteArray original = "0 3 0 40 0 0 0 //Katana\r\nend\r\n";
        const QString shop = writeFile(dir, "shop1.txt", original);
        w.form().openFile(shop);
        auto list = shopList(w);
        list->setCurrentRow(0);
        w.click(w.check("checkSkill"));
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop + ".bak"), original);
        w.click(w.check("checkLuck"));
        w.trigger("mnuSave");
        QCOMPARE(readFile(shop + ".bak"), original);  // the first save only
        QVERIFY(readFile(shop) != original);

        // Save as over another file keeps that one; a new file has nothing to keep.
        const QByteArray otherBytes = "1 1 0 19 0 0 0\r\n";
        const QString other = writeFile(dir, "shop2.txt", otherBytes);
        w.dialogs.nextSave = other;
        w.trigger("mnuSaveAs");
        QCOMPARE(readFile(other + ".bak"), otherBytes);
        w.dialogs.nextSave = dir.filePath("shop3.txt");
        w.trigger("mnuSaveAs");
        QVERIFY(QFile::exists(dir.filePath("shop3.txt")) && !QFile::exists(dir.filePath("shop3.txt.bak")));

        // A backup that cannot be written stops the save.
        const QString blocked = writeFile(dir, "shop5.txt", otherBytes);
        QVERIFY(QDir(dir.path()).mkdir("shop5.txt.bak"));
        w.dialogs.nextSave = blocked;
        w.trigger("mnuSaveAs");
        QVERIFY2(w.status().startsWith("Save> shop5.txt cannot be kept as shop5.txt.bak: "), qPrintable(w.status()));
        QCOMPARE(readFile(blocked), otherBytes);

        // Turned off, and remembered: no backup.
        w.trigger("mnuBackup");
        QVERIFY(!formTolvane::backupsWanted());
        const QString fourth = writeFile(dir, "shop4.txt", otherBytes);
        w.dialogs.nextSave = fourth;
        w.trigger("mnuSaveAs");
        QVERIFY(readFile(fourth) != otherBytes && !QFile::exists(fourth + ".bak"));
        w.trigger("mnuBackup");
        QVERIFY(formTolvane::backupsWanted());
    }

    void saveAsProposesTheDocumentsOwnFile()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.dialogs.nextSave.clear();
        w.trigger("mnuSaveAs");
        QCOMPARE(w.dialogs.proposedSaves, QStringList({QString()}));  // a list without a file: no name
        const QString warehouse = writeFile(dir, "warehouse.txt", QByteArray(2400, 'F'));
        formStorage* storage = w.form().openStorage(warehouse);
        QVERIFY(storage);
        const QString shop = writeFile(dir, "shop1.txt", "0 3 0 40 0 0 0\r\n");
        w.form().openFile(shop);
        // The list proposes its own file, never the storage's; the storage its own.
        w.trigger("mnuSaveAs");
        QCOMPARE(w.dialogs.proposedSaves.last(), shop);
        storage->saveAs();
        QCOMPARE(w.dialogs.proposedSaves.last(), warehouse);
    }

    void standardKeysInTextBoxesAreASetting()
    {
        DataFolder data;
        Window w(data);
        QLineEdit* box = w.box("txtShopComment");
        QAction* setting = w.get<QAction>("mnuStandardKeys");
        QVERIFY(!setting->isChecked());
        // Off: Ctrl+A in a text box is File > Save as..., as everywhere.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.dialogs.proposedSaves.size(), 1);
        // On: the box's own select all, copy, cut and paste.
        w.trigger("mnuStandardKeys");
        QVERIFY(formTolvane::standardKeysWanted());
        box->setText("Red potion");
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->selectedText(), QString("Red potion"));
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Red potion"));
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QString());
        QVERIFY(w.form().isVisible());  // not Exit
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString("Red potion"));
        QCOMPARE(w.dialogs.proposedSaves.size(), 1);
        // Elsewhere the menu keys stay: Ctrl+V in the list copies the vault code.
        auto list = shopList(w);
        list->setFocus();
        QTest::keyClick(list.view(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), w.hex());
        w.trigger("mnuStandardKeys");
        QVERIFY(!formTolvane::standardKeysWanted());
    }
};

QTEST_MAIN(FileTest)
#include "file_test.moc"
