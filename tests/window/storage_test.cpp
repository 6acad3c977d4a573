// Warehouses and inventories in their own window, driven as a user does:
// opened or pasted, items chosen into the editor, placed, moved, removed,
// saved and copied.
#include "window/form_storage.h"
#include "window/storage_picture.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUndoStack>

using namespace vs;
using namespace vs::test;

namespace {

// A slot's 20 digits composed from the byte layout itself: the item number
// (class x 32 + index, its ninth bit in byte 7), skill, level, luck and option
// in byte 1, durability, the serial in four bytes, then the flags byte (excellent
// options in bits 0-5, option +16 in bit 6) and two bytes the editor does not model.
QString slotCode(int cls, int index, int level = 0, int dur = 20, int skill = 0, int luck = 0, int option = 0,
                 quint32 serial = 0, int excellent = 0, int tail = 0)
{
    const int id = cls * 32 + index;
    const int flags = (id > 255 ? 0x80 : 0) | (option == 4 ? 0x40 : 0) | excellent;
    const int byte1 = skill << 7 | level << 3 | luck << 2 | (option == 4 ? 0 : option);
    return QString("%1%2%3%4%5%6")
        .arg(id & 0xFF, 2, 16, QChar('0'))
        .arg(byte1, 2, 16, QChar('0'))
        .arg(dur, 2, 16, QChar('0'))
        .arg(serial, 8, 16, QChar('0'))
        .arg(flags, 2, 16, QChar('0'))
        .arg(tail, 4, 16, QChar('0'))
        .toUpper();
}

const QString kEmpty(20, 'F');

// The digits of a storage of `count` slots, empty but for those given.
QString storageDigits(int count, const QMap<int, QString>& items)
{
    QString digits;
    for (int s = 0; s < count; ++s)
        digits += items.value(s, kEmpty);
    return digits;
}

QString slotDigits(const formStorage* storage, int slot)
{
    return QString::fromStdString(slotHex(storage->storage().contents[static_cast<size_t>(slot)]));
}

formStorage* openStorageFile(Window& w, const QString& path)
{
    w.dialogs.nextOpen = path;
    w.trigger("mnuOpenStorage");
    formStorage* storage = nullptr;
    for (formStorage* open : w.form().findChildren<formStorage*>())
        if (open->filePath() == path)
            storage = open;
    if (storage && !QTest::qWaitForWindowExposed(storage))
        qWarning("storage window not exposed");
    return storage;
}

QWidget* picture(formStorage* storage)
{
    return storage->findChild<QWidget*>("picStorage");
}

void clickSlot(formStorage* storage, int slot)
{
    QTest::mouseClick(picture(storage), Qt::LeftButton, {}, storage->slotRect(slot).center());
}

void clickCell(formStorage* storage, int x, int y)
{
    QTest::mouseClick(picture(storage), Qt::LeftButton, {}, storage->cellRect(x, y).center());
}

// Holds the mouse on one spot and lets go on another.
void drag(formStorage* storage, QPoint from, QPoint to)
{
    QTest::mousePress(picture(storage), Qt::LeftButton, {}, from);
    QTest::mouseRelease(picture(storage), Qt::LeftButton, {}, to);
}

void trigger(formStorage* storage, const char* name)
{
    QAction* action = storage->findChild<QAction*>(name);
    if (!action)
        qFatal("no action %s", name);
    action->trigger();
}

bool yellow(Window& w)
{
    return w.statusColor() == QColor(255, 255, 0);
}

}  // namespace

class StorageTest : public QObject {
    Q_OBJECT
private slots:
    void anItemComesIntoTheEditorWithEveryFieldAndEditsGoBackIntoItsSlot()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // Kris +3 with skill, luck, option +8, serial 123456, excellent options
        // 1 and 3, and two bytes the editor does not model; Bronze Armor at column 2, row 1.
        const QString kris = slotCode(0, 0, 3, 20, 1, 1, 2, 123456, 0b000101, 0xABCD);
        const QString armor = slotCode(8, 0, 0, 35);
        const QString path = writeFile(dir, "vault.txt", ("0x" + storageDigits(120, {{0, kris}, {10, armor}}) + "\n").toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        QCOMPARE(storage->storage().kind, StorageKind::Warehouse);
        QVERIFY(storage->windowTitle().startsWith("Warehouse - vault.txt"));

        clickSlot(storage, 0);
        QCOMPARE(storage->selectedSlot(), 0);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Kris"));
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("+3"));
        QCOMPARE(w.box("txtDur")->text(), QString("20"));
        QCOMPARE(w.box("txtSerial")->text(), QString("123456"));
        QVERIFY(w.check("checkSkill")->isChecked());
        QVERIFY(w.check("checkLuck")->isChecked());
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(w.check(qPrintable(QString("checkExc%1").arg(n)))->isChecked(), (n - 1) % 6 == 0 || (n - 1) % 6 == 2);
        QVERIFY(!w.check("checkExcAll")->isChecked());
        // The editor composes the same code, but for the bytes it does not model.
        QCOMPARE(w.hex(), kris.left(16) + "0000");
        QVERIFY(w.status().contains("slot 0 of the warehouse"));
        QVERIFY(!storage->isModified());  // loading wrote nothing

        // A new level: the slot's level bits change, the rest stays, the last two bytes too.
        w.choose("comboLevel", "+5");
        QCOMPARE(slotDigits(storage, 0), slotCode(0, 0, 5, 20, 1, 1, 2, 123456, 0b000101, 0xABCD));
        QVERIFY(storage->isModified());
        QVERIFY(storage->windowTitle().endsWith("[*]"));
        QCOMPARE(w.status(), QString("Save Item> The item is saved to slot 0 of the warehouse."));
        // The serial and an excellent option, which no list entry holds, are written too.
        w.paste("txtSerial", "77");
        w.click(w.check("checkExc2"));
        QCOMPARE(slotDigits(storage, 0), slotCode(0, 0, 5, 20, 1, 1, 2, 77, 0b000111, 0xABCD));
        // The edits of one item are one step: undo gives the item back as it was read.
        QCOMPARE(storage->history()->count(), 1);
        trigger(storage, "mnuStorageUndo");
        QCOMPARE(slotDigits(storage, 0), kris);
        QVERIFY(!storage->isModified());
        QCOMPARE(w.box("txtSerial")->text(), QString("123456"));  // the editor shows the item again
        trigger(storage, "mnuStorageRedo");
        QCOMPARE(slotDigits(storage, 0), slotCode(0, 0, 5, 20, 1, 1, 2, 77, 0b000111, 0xABCD));
        // The main window's Undo takes back the edit made through its editor.
        QCOMPARE(w.get<QAction>("mnuUndo")->text(), QString("Undo Edit Item"));
        w.trigger("mnuUndo");
        QCOMPARE(slotDigits(storage, 0), kris);
        w.trigger("mnuRedo");

        // Choosing a row of the list sends the editor, and Undo, back to the list.
        auto list = shopList(w);
        const QString firstRow = list->item(0)->text();
        list->setCurrentRow(0);
        QCOMPARE(storage->selectedSlot(), -1);
        const QString before = slotDigits(storage, 0);
        w.choose("comboLevel", "+7");
        QCOMPARE(slotDigits(storage, 0), before);
        QVERIFY(list->item(0)->text().startsWith("0,0,7,"));
        w.trigger("mnuUndo");
        QCOMPARE(list->item(0)->text(), firstRow);
        QCOMPARE(slotDigits(storage, 0), before);
    }

    void anEditThatNoLongerFitsIsRefusedAndTheSlotKeepsItsItem()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // A Kris (1 x 3) at column 1 with the Bronze Armor (2 x 3) right of it.
        const QString kris = slotCode(0, 0);
        const QString path = writeFile(dir, "vault.txt", storageDigits(120, {{1, kris}, {2, slotCode(8, 0)}}).toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        clickSlot(storage, 1);
        // The Battle Axe is 2 x 3: at column 1 it would cover the armour's column 2.
        w.click(w.category(1));
        w.choose("comboClassSelector", "Axes");
        w.choose("comboItemSelector", "Battle Axe");
        QCOMPARE(slotDigits(storage, 1).left(2), QString("20"));  // the Small Axe (class 1, 1 x 3) fitted
        QVERIFY(yellow(w));
        QVERIFY2(w.status().contains("would cover column 2, row 0"), qPrintable(w.status()));
        QVERIFY(w.status().endsWith("slot 1 of the warehouse keeps its item."));
    }

    void placeMoveDeleteSaveAndReopen()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString armor = slotCode(8, 0, 2, 35, 0, 0, 0, 900);
        const QString path = writeFile(dir, "vault.txt", storageDigits(120, {{10, armor}}).toLower().toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);

        // The editor's item (a Ring of Ice, 1 x 1) into a free cell.
        w.click(w.category(2));
        w.choose("comboClassSelector", "Guardians,Jewelry,Feather,Fruit,BC");
        w.choose("comboItemSelector", "Ring of Ice");
        const QString ring = w.hex();
        clickCell(storage, 7, 14);
        QCOMPARE(storage->chosenPlace(), 14 * 8 + 7);
        w.click(storage->findChild<QPushButton*>("cmdStoragePlace"));
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), ring);
        QCOMPARE(storage->selectedSlot(), 14 * 8 + 7);

        // The armour (2 x 3) does not fit at column 7, nor over itself moved onto the ring.
        clickSlot(storage, 10);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Bronze Armor"));
        const std::vector<StorageSlot> unchanged = storage->storage().contents;
        clickCell(storage, 7, 0);
        w.click(storage->findChild<QPushButton*>("cmdStoragePlace"));
        QVERIFY(yellow(w));
        QVERIFY2(w.status().contains("would leave the 8 x 15 grid"), qPrintable(w.status()));
        QVERIFY(storage->storage().contents == unchanged);
        // Dragged by its middle cell, the armour moves as far as the mouse does.
        drag(storage, storage->cellRect(2, 2).center(), storage->cellRect(5, 12).center());
        QCOMPARE(slotDigits(storage, 11 * 8 + 5), armor);
        QCOMPARE(slotDigits(storage, 10), kEmpty);
        QCOMPARE(storage->selectedSlot(), 11 * 8 + 5);
        // One column right and one row down it would cover the ring at column 7, row 14.
        drag(storage, storage->cellRect(5, 11).center(), storage->cellRect(6, 12).center());
        QVERIFY(yellow(w));
        QVERIFY2(w.status().contains("which the item in slot 119 holds"), qPrintable(w.status()));
        QCOMPARE(slotDigits(storage, 11 * 8 + 5), armor);

        // Delete removes the chosen item.
        clickSlot(storage, 14 * 8 + 7);
        trigger(storage, "mnuStorageDelete");
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), kEmpty);
        QCOMPARE(storage->selectedSlot(), -1);
        trigger(storage, "mnuStorageDelete");  // nothing chosen
        QVERIFY(yellow(w));
        // The main window's Undo takes back the last change to the storage too.
        QCOMPARE(w.get<QAction>("mnuUndo")->text(), QString("Undo Delete Item"));
        w.trigger("mnuUndo");
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), ring);
        w.trigger("mnuRedo");
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), kEmpty);
        // Undo brings the ring back, chosen and in the editor; Redo removes it again.
        shopList(w)->setCurrentRow(0);  // the editor on the list meanwhile
        trigger(storage, "mnuStorageUndo");
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), ring);
        QCOMPARE(storage->selectedSlot(), 14 * 8 + 7);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Ring of Ice"));
        QCOMPARE(shopList(w)->currentRow(), -1);
        trigger(storage, "mnuStorageRedo");
        QCOMPARE(slotDigits(storage, 14 * 8 + 7), kEmpty);
        QCOMPARE(storage->selectedSlot(), -1);

        // Saved in the form it came in (text: one upper-case line), and read back the same.
        w.click(storage->findChild<QPushButton*>("cmdStorageSave"));
        QVERIFY(!storage->isModified());
        const QByteArray saved = readFile(path);
        QCOMPARE(saved, storageDigits(120, {{11 * 8 + 5, armor}}).toLatin1());
        QVERIFY(storage->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        formStorage* again = openStorageFile(w, path);
        QVERIFY(again);
        QCOMPARE(slotDigits(again, 11 * 8 + 5), armor);
        trigger(again, "mnuStorageSave");
        QCOMPARE(readFile(path), saved);
    }

    void rawInventoriesAndThePaperDoll()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        QByteArray raw(760, '\xFF');
        const QByteArray buckler = QByteArray::fromHex(slotCode(6, 0, 4, 30).toLatin1());
        raw.replace(10, 10, buckler);  // the left hand
        const QString path = writeFile(dir, "hero.bin", raw);
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        QCOMPARE(storage->storage().kind, StorageKind::Inventory);
        clickSlot(storage, 1);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Buckler"));
        QVERIFY(w.status().contains("slot 1 (left hand) of the inventory"));

        // From the hand to the grid's bottom-right corner, and back into the empty right hand.
        drag(storage, storage->slotRect(1).center(), storage->cellRect(6, 6).center());
        QCOMPARE(slotDigits(storage, 12 + 6 * 8 + 6), slotCode(6, 0, 4, 30));
        QCOMPARE(slotDigits(storage, 1), kEmpty);
        drag(storage, storage->cellRect(6, 6).center(), storage->slotRect(0).center());
        QCOMPARE(slotDigits(storage, 0), slotCode(6, 0, 4, 30));
        // Dropped beyond the grid's edge: refused.
        drag(storage, storage->slotRect(0).center(), storage->cellRect(7, 7).center());
        QVERIFY(yellow(w));
        QCOMPARE(slotDigits(storage, 0), slotCode(6, 0, 4, 30));
        QCOMPARE(storage->history()->count(), 2);

        // Raw stays raw.
        trigger(storage, "mnuStorageSave");
        const QByteArray saved = readFile(path);
        QCOMPARE(saved.size(), 760);
        QCOMPARE(saved.mid(0, 10), buckler);
        QCOMPARE(saved.mid(10, 10), QByteArray(10, '\xFF'));
    }

    void problemsAreListedAndMarked()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // A Katana (1 x 4) at row 12 leaves the grid; two items share serial 5; slot 3 is all zeros.
        const QString path = writeFile(
            dir, "vault.txt",
            storageDigits(120, {{12 * 8, slotCode(0, 3)}, {1, slotCode(0, 0, 0, 20, 0, 0, 0, 5)},
                                {5, slotCode(0, 1, 0, 20, 0, 0, 0, 5)}, {3, QString(20, '0')}})
                .toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        auto* problems = storage->findChild<QListWidget*>("lstStorageProblems");
        QStringList rows;
        for (int r = 0; r < problems->count(); ++r)
            rows << problems->item(r)->text().section(':', 0, 1);
        QCOMPARE(rows, QStringList({"Slot 3: warning", "Slot 5: error", "Slot 96: error"}));
        // On the picture: the error red, the warning orange, a sound item neither.
        const QImage drawn = picture(storage)->grab().toImage();
        const auto edge = [&](int slot) { return QColor(drawn.pixel(storage->slotRect(slot).left() + 2, storage->slotRect(slot).center().y())); };
        QCOMPARE(edge(5), kErrorEdge);
        QCOMPARE(edge(3), kWarningEdge);
        QVERIFY(edge(1) != kErrorEdge && edge(1) != kWarningEdge);
        // Activating a problem chooses its item.
        problems->setCurrentRow(2);
        QTest::keyClick(problems, Qt::Key_Return);
        QCOMPARE(storage->selectedSlot(), 96);
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Katana"));

        // A level the editor cannot show is said on loading, and loading writes nothing.
        const QString high = slotCode(0, 0, 14);
        storage->close();
        const QString path2 = writeFile(dir, "high.txt", storageDigits(120, {{0, high}}).toLatin1());
        formStorage* highs = openStorageFile(w, path2);
        QVERIFY(highs);
        clickSlot(highs, 0);
        QVERIFY(yellow(w));
        QVERIFY2(w.status().endsWith("shows its level 14 as 12, and an edit stores 12."), qPrintable(w.status()));
        QCOMPARE(slotDigits(highs, 0), high);
        QVERIFY(!highs->isModified());
        // A comment has no place in a slot: typing one changes nothing there.
        w.check("chkProtectComment")->setChecked(false);
        w.type("txtShopComment", "note");
        QCOMPARE(slotDigits(highs, 0), high);
        QVERIFY(!highs->isModified());
    }

    void pastedStoragesCopiesAndFilesThatAreNoStorage()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString kris = slotCode(0, 0, 1);
        QGuiApplication::clipboard()->setText("0x" + storageDigits(76, {{12, kris}}).toLower() + "\n");
        w.trigger("mnuPasteStorage");
        formStorage* pasted = w.form().findChild<formStorage*>("formStorage");
        QVERIFY(pasted);
        QVERIFY(pasted->filePath().isEmpty());
        QCOMPARE(pasted->storage().kind, StorageKind::Inventory);
        QCOMPARE(slotDigits(pasted, 12), kris);

        // Copy as Hex, and Copy as SQL with a name that is refused, then one that is not.
        trigger(pasted, "mnuStorageCopyHex");
        QCOMPARE(QGuiApplication::clipboard()->text(), storageDigits(76, {{12, kris}}));
        w.dialogs.nextText = "x' OR '1'='1";
        trigger(pasted, "mnuStorageCopySql");
        QVERIFY(yellow(w));
        QCOMPARE(QGuiApplication::clipboard()->text(), storageDigits(76, {{12, kris}}));
        w.dialogs.nextText = std::nullopt;
        trigger(pasted, "mnuStorageCopySql");
        QVERIFY(yellow(w));
        w.dialogs.nextText = "Hero_1";
        trigger(pasted, "mnuStorageCopySql");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 "UPDATE Character SET Inventory = 0x" + storageDigits(76, {{12, kris}}) + " WHERE Name = 'Hero_1';\n");

        // Save of a pasted storage asks for a file and keeps the pasted form.
        clickSlot(pasted, 12);
        w.choose("comboLevel", "+2");
        w.dialogs.nextSave = dir.filePath("pasted.txt");
        trigger(pasted, "mnuStorageSave");
        QCOMPARE(pasted->filePath(), dir.filePath("pasted.txt"));
        QCOMPARE(readFile(dir.filePath("pasted.txt")),
                 ("0x" + storageDigits(76, {{12, slotCode(0, 0, 2)}}) + "\n").toLatin1());

        // Nothing that is a storage: a yellow message, no window.
        const int windows = w.form().findChildren<formStorage*>().size();
        QGuiApplication::clipboard()->setText("0x" + storageDigits(76, {}).left(1519));
        w.trigger("mnuPasteStorage");
        QVERIFY(yellow(w));
        QVERIFY2(w.status().contains("1,519 hexadecimal digits"), qPrintable(w.status()));
        w.dialogs.nextOpen = writeFile(dir, "shop1.txt", "0 0 0 20 0 0 0\r\n");
        w.trigger("mnuOpenStorage");
        QVERIFY(yellow(w));
        QVERIFY(w.status().startsWith("Open Storage> shop1.txt is not a storage"));
        QCOMPARE(w.form().findChildren<formStorage*>().size(), windows);
    }

    void exitSavesAStorageWhenAskedTo()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "hero.txt", ("0x" + storageDigits(76, {{12, slotCode(0, 0)}})).toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        clickSlot(storage, 12);
        w.choose("comboLevel", "+9");
        w.dialogs.saveAnswer = SaveAnswer::Save;
        w.trigger("mnuExit");
        QCOMPARE(readFile(path), ("0x" + storageDigits(76, {{12, slotCode(0, 0, 9)}})).toLatin1());
    }

    void unsavedChangesAreAskedAboutOnClosingAndOnExit()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString original = storageDigits(120, {{0, slotCode(0, 0)}});
        const QString path = writeFile(dir, "vault.txt", original.toLatin1());
        formStorage* storage = openStorageFile(w, path);
        QVERIFY(storage);
        clickSlot(storage, 0);
        trigger(storage, "mnuStorageDelete");
        QVERIFY(storage->isModified());

        // Cancel keeps the window; the main window's Exit asks about it too.
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        QVERIFY(!storage->close());
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QVERIFY(!w.form().close());
        QCOMPARE(w.dialogs.saveQuestions, 2);
        QVERIFY(storage->isVisible());
        // Save writes it and closes.
        w.dialogs.saveAnswer = SaveAnswer::Save;
        QVERIFY(storage->close());
        QCOMPARE(readFile(path), storageDigits(120, {}).toLatin1());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Discard closes without writing.
        storage = openStorageFile(w, path);
        QVERIFY(storage);
        clickCell(storage, 0, 0);
        w.click(storage->findChild<QPushButton*>("cmdStoragePlace"));
        QVERIFY(storage->isModified());
        w.dialogs.saveAnswer = SaveAnswer::Discard;
        QVERIFY(storage->close());
        QCOMPARE(readFile(path), storageDigits(120, {}).toLatin1());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Opening a file that is open already shows its window instead of a second one,
        // and Save as onto it from another window is refused.
        storage = openStorageFile(w, path);
        const int windows = w.form().findChildren<formStorage*>().size();
        QCOMPARE(openStorageFile(w, path), storage);
        QCOMPARE(w.form().findChildren<formStorage*>().size(), windows);
        QVERIFY(w.status().endsWith("vault.txt is open already."));
        QGuiApplication::clipboard()->setText(storageDigits(120, {{7, slotCode(13, 8)}}));
        w.trigger("mnuPasteStorage");
        formStorage* pasted = nullptr;
        for (formStorage* open : w.form().findChildren<formStorage*>())
            if (open->filePath().isEmpty())
                pasted = open;
        QVERIFY(pasted);
        w.dialogs.nextSave = path;
        trigger(pasted, "mnuStorageSaveAs");
        QVERIFY(yellow(w));
        QVERIFY(w.status().endsWith("is open in another storage window; nothing was written."));
        QCOMPARE(readFile(path), storageDigits(120, {}).toLatin1());

        // The main window's Exit (as SIGTERM runs it) asks about each storage: Discard
        // leaves its file alone, Save writes it.
        clickCell(storage, 3, 3);
        w.click(storage->findChild<QPushButton*>("cmdStoragePlace"));
        QVERIFY(storage->isModified() && pasted->isModified() == false);
        w.dialogs.saveQuestions = 0;
        w.dialogs.saveAnswer = SaveAnswer::Discard;
        QVERIFY(w.form().close());
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QCOMPARE(readFile(path), storageDigits(120, {}).toLatin1());
    }
};

QTEST_MAIN(StorageTest)
#include "storage_test.moc"
