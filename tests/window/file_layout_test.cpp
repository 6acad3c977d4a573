// The editor on real files' layouts: an 8-column shop's EXC column, a sectioned
// item bag's level range and excellent flag, rows the editor cannot show as
// they stand, "end" as the place New stays above, and File > Layout.
#include "window/code_page_text.h"
#include "window_fixture.h"

#include <QAction>
#include <QSettings>

using namespace vs;
using namespace vs::test;

namespace {

const QByteArray kShop8 = "//  Type\tIndex\tLevel\tDurab\tSkill\tLuck\tOption\tEXC\r\n"
                          "0\t3\t2\t40\t0\t0\t0\t0\t//Katana+2\r\n"
                          "1\t1\t0\t19\t0\t0\t0\t5\t//Hand Axe\r\n"
                          "end\r\n";

const QByteArray kSectioned = "0\r\n3\t0\t0\t1000\r\nend\r\n"
                              "1\r\n\"Ev\"\t0\t14\t11\t1\t200\t80\t0\r\nend\r\n"
                              "2\r\n0\t3\t0\t4\t0\t1\t1\t0\t//Katana\r\nend\r\n";

QStringList checkedExcellentBoxes(Window& w)
{
    QStringList names;
    for (int n = 1; n <= 12; ++n) {
        const QByteArray name = "checkExc" + QByteArray::number(n);
        if (w.check(name.constData())->isChecked())
            names << QString::fromLatin1(name);
    }
    return names;
}

}  // namespace

class FileLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void anEightColumnShopsExcColumnFollowsTheExcellentBoxes()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "shop1.txt", kShop8);
        // An excellent item with a serial is in the editor before the shop row is loaded.
        w.click(w.check("checkExc4"));
        w.type("txtSerial", "77");
        w.form().openFile(path);
        QVERIFY2(w.status().endsWith("(layout: shop, 8 columns, Type Index Level Durab Skill Luck Option EXC)"),
                 qPrintable(w.status()));
        QCOMPARE(w.form().layout().name, std::string_view("shop-8"));
        QVERIFY(!w.get<QWidget>("comboMaxLevel")->isVisible() && !w.check("checkExcItem")->isVisible());
        auto list = shopList(w);

        // Loading a row shows exactly the row: no excellent options, serial 0.
        list->setCurrentRow(1);
        QCOMPARE(checkedExcellentBoxes(w), QStringList());
        QCOMPARE(w.box("txtSerial")->text(), QString("0"));
        QCOMPARE(w.hex().mid(6, 10), QString("0000000000"));
        // EXC 5: options 0 and 2, both boxes of each.
        list->setCurrentRow(2);
        QCOMPARE(checkedExcellentBoxes(w), QStringList({"checkExc1", "checkExc3", "checkExc7", "checkExc9"}));
        QCOMPARE(w.hex().mid(14, 2), QString("05"));
        QCOMPARE(w.comment(), QString("Excellent Hand Axe"));
        // And back: the boxes write the column.
        w.click(w.check("checkExc2"));
        QCOMPARE(list->item(2)->text(), QString("1,1,0,19,0,0,0,7,Excellent Hand Axe"));
        w.click(w.check("checkExcAll"));
        QCOMPARE(list->item(2)->text(), QString("1,1,0,19,0,0,0,63,Excellent Hand Axe"));
        w.click(w.check("checkExcAll"));
        QCOMPARE(list->item(2)->text(), QString("1,1,0,19,0,0,0,0,Hand Axe"));

        // New with no row selected lands above "end", with eight columns.
        list->clearSelection();
        w.click(w.get<QPushButton>("cmdShopNew"));
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->item(4)->text(), QString("end"));
        QCOMPARE(list->item(3)->text(), QString("1,1,0,19,0,0,0,0,Hand Axe"));
        // New with the last row ("end") selected does the same.
        list->setCurrentRow(4);
        w.click(w.get<QPushButton>("cmdShopNew"));
        QCOMPARE(list->item(5)->text(), QString("end"));
        w.trigger("mnuSave");
        QCOMPARE(readFile(path), QByteArray("//  Type\tIndex\tLevel\tDurab\tSkill\tLuck\tOption\tEXC\r\n"
                                            "0\t3\t2\t40\t0\t0\t0\t0\t//Katana+2\r\n"
                                            "1\t1\t0\t19\t0\t0\t0\t0\t//Hand Axe\r\n"
                                            "1\t1\t0\t19\t0\t0\t0\t0\t//Hand Axe\r\n"
                                            "1\t1\t0\t19\t0\t0\t0\t0\t//Hand Axe\r\n"
                                            "end\r\n"));
    }

    void everyRowShowsItsOwnExcellentOptionsWhateverCameBefore()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop4.txt",
                                    "0\t3\t2\t40\t0\t0\t0\t63\r\n1\t1\t0\t19\t0\t0\t0\t5\r\n"
                                    "1\t1\t0\t19\t0\t0\t0\t0\r\nend\r\n"));
        auto list = shopList(w);
        const struct {
            int row;
            const char* digits;
            int boxes;
        } loads[] = {{0, "3F", 12}, {1, "05", 4}, {0, "3F", 12}, {2, "00", 0}, {1, "05", 4}};
        for (const auto& load : loads) {
            list->setCurrentRow(load.row);
            QCOMPARE(w.hex().mid(14, 2), QString(load.digits));
            QCOMPARE(checkedExcellentBoxes(w).size(), load.boxes);
            QCOMPARE(w.check("checkExcAll")->isChecked(), load.boxes == 12);
        }
        // An edit writes the row's own bits back.
        w.click(w.check("checkSkill"));
        QCOMPARE(list->item(1)->text().section(',', 0, 7), QString("1,1,0,19,1,0,0,5"));
        // New with the first row selected goes above it, as the list always did.
        list->setCurrentRow(0);
        w.click(w.get<QPushButton>("cmdShopNew"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->count(), 5);
    }

    void aRowTheEditorCannotShowKeepsItsFieldsUntilAnItemIsChosen()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QByteArray bytes = "0 31 0 20 0 0 0 //Lost\r\n0 3 14 40 0 0 0 //High\r\n1 1 0 19 0 0 0 //Axe\r\nend\r\n";
        const QString path = writeFile(dir, "shop2.txt", bytes);
        w.form().openFile(path);
        auto list = shopList(w);

        // An item the catalog lacks: said in yellow; ticking Skill writes nothing.
        list->setCurrentRow(0);
        QVERIFY2(w.status().startsWith("Load Item> Item does not exist in Data Files. Row 1 names item 31 of class 0"),
                 qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        w.click(w.check("checkSkill"));
        QCOMPARE(list->item(0)->text(), QString("0,31,0,20,0,0,0,Lost"));
        QVERIFY2(w.status().startsWith("Save Item> Not saved: row 1 keeps its fields"), qPrintable(w.status()));
        // Choosing an item for it writes it, and says so.
        w.choose("comboItemSelector", "Rapier");
        QCOMPARE(list->item(0)->text(), QString("0,2,0,20,1,0,0,Lost"));
        QCOMPARE(w.status(), QString("Save Item> The item of row 1 was replaced by Rapier+Skill; it is saved to the list."));

        // A level the editor cannot show: the row keeps it.
        list->setCurrentRow(1);
        QCOMPARE(w.status(), QString("Load Item> Row 2 cannot be shown as it stands: its level 14 is outside the "
                                     "editor's 0..12; the editor shows Katana+12. Choose an item for it with the "
                                     "class or item selector to replace it; until then no edit is written into the row."));
        w.choose("comboOpt", w.rows("comboOpt").value(1));
        QCOMPARE(list->item(1)->text(), QString("0,3,14,40,0,0,0,High"));

        // Update All leaves both kinds as they are and counts them.
        list->setCurrentRow(1);
        w.trigger("mnuUpdateAll");
        QCOMPARE(list->item(1)->text(), QString("0,3,14,40,0,0,0,High"));
        QCOMPARE(list->item(2)->text(), QString("1,1,0,19,0,0,0,Hand Axe"));
        QCOMPARE(w.status(), QString("Update All> 1 item row was left as it is: not in the data files, or holding "
                                     "columns the editor cannot show as they stand."));
    }

    void aSectionedBagShowsItsLevelRangeAndExcellentFlag()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "EventItemBag9.txt", kSectioned);
        w.form().openFile(path);
        QCOMPARE(w.form().layout().name, std::string_view("bag-sections"));
        QCOMPARE(w.check("checkLuck")->text(), QString("Luck"));
        QVERIFY(w.get<QWidget>("comboMaxLevel")->isVisible() && w.check("checkExcItem")->isVisible());
        auto list = shopList(w);
        QCOMPARE(list->count(), 9);
        // A range that ends below its start is not shown as it stands.
        putRow(list, "0,3,9,4,0,1,1,0,Katana", 1, 7);
        list->setCurrentRow(7);
        QVERIFY2(w.status().startsWith("Load Item> Row 8 cannot be shown as it stands: its lowest level 9 is above its "
                                       "highest level 4;"),
                 qPrintable(w.status()));
        w.click(w.check("checkSkill"));
        QCOMPARE(list->item(7)->text(), QString("0,3,9,4,0,1,1,0,Katana"));
        putRow(list, "0,3,0,4,0,1,1,0,Katana", 1, 7);
        // Settings rows are no items.
        list->setCurrentRow(1);
        QCOMPARE(w.status(), QString("Load Non-Item> Loaded: 3\t0\t0\t1000"));
        list->setCurrentRow(4);
        QVERIFY(w.status().startsWith("Load Non-Item> "));

        list->setCurrentRow(7);
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("0"));
        QCOMPARE(w.combo("comboMaxLevel")->currentText(), QString("+4"));
        QVERIFY(w.check("checkLuck")->isChecked() && !w.check("checkSkill")->isChecked());
        QVERIFY(!w.check("checkExcItem")->isChecked());
        auto columns = [&] { return list->item(7)->text().section(',', 0, 7); };
        w.click(w.check("checkSkill"));
        QCOMPARE(columns(), QString("0,3,0,4,1,1,1,0"));
        w.click(w.check("checkExcItem"));
        QCOMPARE(columns(), QString("0,3,0,4,1,1,1,1"));
        QVERIFY2(w.comment().startsWith("Excellent Katana") && w.comment().endsWith("+Skill+Luck"),
                 qPrintable(w.comment()));
        w.choose("comboMaxLevel", "+9");
        QCOMPARE(columns(), QString("0,3,0,9,1,1,1,1"));
        w.trigger("mnuSave");
        QByteArray expected = kSectioned;
        expected.replace("0\t3\t0\t4\t0\t1\t1\t0\t//Katana",
                         "0\t3\t0\t9\t1\t1\t1\t1\t//" + w.comment().toLatin1());
        QCOMPARE(readFile(path), expected);

        // New with a drop-place row selected lands at the end of the items, above their "end".
        list->setCurrentRow(1);
        w.click(w.get<QPushButton>("cmdShopNew"));
        QCOMPARE(list->currentRow(), 8);
        QCOMPARE(list->item(8)->text().count(','), 8);
        QCOMPARE(list->item(9)->text(), QString("end"));
    }

    void fileLayoutReadsTheFileAgainAndRemembersNewDocuments()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "shop1.txt", kShop8);
        w.form().openFile(path);
        auto list = shopList(w);
        // A change first: the question comes, and Cancel keeps everything.
        list->setCurrentRow(1);
        w.click(w.check("checkSkill"));
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        w.trigger("mnuLayout_shop-7");
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QCOMPARE(w.form().layout().name, std::string_view("shop-8"));
        QVERIFY(w.get<QAction>("mnuLayout_shop-8")->isChecked());
        w.dialogs.saveAnswer = SaveAnswer::Discard;
        w.trigger("mnuLayout_shop-7");
        QCOMPARE(w.form().layout().name, std::string_view("shop-7"));
        QVERIFY(w.get<QAction>("mnuLayout_shop-7")->isChecked());
        QCOMPARE(list->item(1)->text(), QString("0,3,2,40,0,0,0,Katana+2"));  // the EXC column is now beyond the layout
        QCOMPARE(w.form().document().at(1).rest.fields, std::vector<std::string>({"0"}));
        QCOMPARE(readFile(path), kShop8);

        // New documents: the 7-column shop until another layout is chosen, then that one.
        QCOMPARE(formTolvane::newDocumentLayout(0).name, std::string_view("shop-7"));
        w.trigger("mnuLayoutNew_shop-8");
        {
            Window second(data);
            QCOMPARE(second.form().layout().name, std::string_view("shop-8"));
            QCOMPARE(shopList(second)->item(0)->text().count(','), 8);
        }
        w.trigger("mnuLayoutNew_shop-7");
        QCOMPARE(formTolvane::newDocumentLayout(0).name, std::string_view("shop-7"));
    }

    void aFileThatIsNoTextSaysSoAndKeepsItsBytes()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QByteArray bytes("\x7f" "ELF\x02\x01\x01\x00\x00\x00\n\x03\x00>\x00\x01", 16);
        const QString path = writeFile(dir, "shop3.txt", bytes);
        w.form().openFile(path);
        QVERIFY2(w.status().startsWith("Open> \"shop3.txt\" is not a text file: it holds NUL bytes; its bytes are "
                                       "kept as they are."),
                 qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        // Check File says so once, as the command line does.
        w.trigger("mnuCheck");
        QCOMPARE(w.status(), QString("Check> 1 error, 0 warnings."));
        w.trigger("mnuSave");
        QCOMPARE(readFile(path), bytes + "\nend\n");  // a shop's closing "end" is all Save adds
    }
};

QTEST_MAIN(FileLayoutTest)
#include "file_layout_test.moc"
