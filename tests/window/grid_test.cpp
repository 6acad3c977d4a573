// Window > Shop Grid and Edit > Check File, driven as a user does.
#include "window/form_shop_grid.h"
#include "window_fixture.h"

#include <QDir>

using namespace vs;
using namespace vs::test;

namespace {

formShopGrid* openGrid(Window& w)
{
    QTest::keyClick(&w.form(), Qt::Key_G, Qt::ControlModifier);
    auto* grid = w.form().findChild<formShopGrid*>("formShopGrid");
    if (grid)
        QCoreApplication::processEvents();
    return grid;
}

// Where each item entry of the list stands: "row@x,y" or "row@-".
QStringList places(const formShopGrid* grid)
{
    QCoreApplication::processEvents();  // the grid follows the list once a turn
    QStringList out;
    for (const GridItem& item : grid->grid().items)
        out << QString("%1@%2").arg(item.entry).arg(item.x < 0 ? "-" : QString("%1,%2").arg(item.x).arg(item.y));
    return out;
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void theGridFollowsTheList()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        // Katana 1 x 4, Buckler 2 x 2, a comment, Kris 1 x 3.
        w.form().openFile(writeFile(dir, "shop1.txt", "0 3 0 40 0 0 0\r\n6 0 0 30 0 0 0\r\n// x\r\n0 0 0 20 0 0 0\r\n"));
        formShopGrid* grid = openGrid(w);
        QVERIFY(grid);
        QVERIFY(grid->isVisible());
        QCOMPARE(places(grid), QStringList({"0@0,0", "1@1,0", "3@3,0"}));

        auto list = shopList(w);
        list->setCurrentRow(3);
        w.click(w.get<QPushButton>("cmdShopItemShiftU"));  // Kris above the comment
        w.click(w.get<QPushButton>("cmdShopItemShiftU"));  // and above the Buckler
        QCOMPARE(places(grid), QStringList({"0@0,0", "1@1,0", "2@2,0"}));
        // Editing the selected item: another class (Bronze Armor, 2 x 3), then a level.
        w.click(w.category(0));
        w.choose("comboClassSelector", "Armor");
        QCOMPARE(places(grid), QStringList({"0@0,0", "1@1,0", "2@3,0"}));
        w.choose("comboLevel", "+4");
        places(grid);
        QCOMPARE(grid->grid().items[1].item.level, 4);
        w.click(w.get<QPushButton>("cmdShopRemove"));
        QCOMPARE(places(grid), QStringList({"0@0,0", "1@1,0"}));
        w.trigger("mnuInsertItem");
        QCOMPARE(places(grid).size(), 3);
    }

    void clickingARectangleSelectsItsRow()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop1.txt", "0 3 0 40 0 0 0\r\n// x\r\n6 0 0 30 0 0 0\r\n"));
        formShopGrid* grid = openGrid(w);
        auto* view = grid->findChild<QWidget*>("picShopGrid");
        QVERIFY(view);
        QTest::mouseClick(view, Qt::LeftButton, {}, grid->cellRect(2, 1).center());
        QCOMPARE(w.form().selectedRow(), 2);
        QCOMPARE(w.status(), QString("Load Item> Loaded: Buckler"));
        QTest::mouseClick(view, Qt::LeftButton, {}, grid->cellRect(0, 3).center());
        QCOMPARE(w.form().selectedRow(), 0);
        QTest::mouseClick(view, Qt::LeftButton, {}, grid->cellRect(5, 5).center());  // a free cell
        QCOMPARE(w.form().selectedRow(), 0);

    }

    void aPictureOfARealShop()
    {
        const QString shop = QString(VAULTSMITH_CORPUS_DIR) + "/shop0.txt";
        if (!QFile::exists(shop))
            QSKIP("corpus not found at " VAULTSMITH_CORPUS_DIR " (the shared folder is absent); no picture taken");
        DataFolder data(readFile(VAULTSMITH_DATA_DIR "/item(Kor).txt"), readFile(VAULTSMITH_DATA_DIR "/subtypes.txt"));
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop0.txt", readFile(shop)));
        w.form().selectEntry(10);
        formShopGrid* grid = openGrid(w);
        QVERIFY(grid->grid().items.size() > 10);
        // For people to look at: the build's screenshots folder.
        const QString shots = QString(VAULTSMITH_BUILD_DIR) + "/screenshots";
        QVERIFY(QDir().mkpath(shots));
        QVERIFY(grid->grab().save(shots + "/shop-grid.png"));
    }

    void aFullShopListsWhatIsNotSold()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        QByteArray shop;
        for (int i = 0; i < 121; ++i)
            shop += "14 11 0 0 0 0 0\r\n";  // 1 x 1 gift boxes
        w.form().openFile(writeFile(dir, "shop1.txt", shop + "15 31 0 0 0 0 0\r\n"));
        formShopGrid* grid = openGrid(w);
        auto* notPlaced = grid->findChild<QListWidget*>("lstNotPlaced");
        QCOMPARE(texts(notPlaced), QStringList({"Row 121: Small Gift Box (no room: not sold)",
                                                "Row 122: Unknown Item (not in the catalog)"}));
        QCOMPARE(notPlaced->item(0)->foreground().color(), QColor(220, 0, 0));
        // An item bag has no grid.
        w.form().openFile(writeFile(dir, "EventItemBag1.txt", "14 11 0 0 0 0\r\n"));
        QCoreApplication::processEvents();
        QVERIFY(grid->findChild<QWidget*>("lblNoGrid")->isVisible());
        QVERIFY(!grid->findChild<QWidget*>("picShopGrid")->isVisible());
    }

    void checkFileListsFindingsAndMarksRows()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop1.txt", "// goods\r\n0 0 14 20 0 0 0\r\n15 31 0 0 0 0 0\r\n0 0 0 20 0 0 0\r\n"));
        QTest::keyClick(&w.form(), Qt::Key_F7);
        auto* problems = w.form().findChild<QListView*>("lstProblems");
        QVERIFY(problems);
        QVERIFY(problems->window()->isVisible());
        QCOMPARE(texts(problems), QStringList({"Line 2: warning: level 14 shows as 12 in the editor [level-shown-as-12]",
                                               "Line 3: error: the catalog has no item 31 in class 15 [unknown-item]"}));
        QCOMPARE(w.status(), QString("Check> 1 error, 1 warning."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        auto list = shopList(w);
        QVERIFY(!list->item(2)->icon().isNull());
        QVERIFY(list->item(1)->icon().isNull());
        emit problems->activated(problems->model()->index(1, 0));
        QCOMPARE(w.form().selectedRow(), 2);
        // Mended, the next check clears the mark.
        w.click(w.get<QPushButton>("cmdShopRemove"));
        w.trigger("mnuCheck");
        QVERIFY(list->item(2)->icon().isNull());
        QCOMPARE(w.status(), QString("Check> 0 errors, 1 warning."));
    }
};

QTEST_MAIN(GridTest)
#include "grid_test.moc"
