// The property editor, the highlights of each change and the comment box.
#include "window_fixture.h"

using namespace vs;
using namespace vs::test;

class PropertiesTest : public QObject {
    Q_OBJECT
private slots:
    void allTicksTheTwelveBoxes()
    {
        DataFolder data;
        Window w(data);
        w.click(w.check("checkExcAll"));
        for (int n = 1; n <= 12; ++n)
            QVERIFY2(w.check(qPrintable(QString("checkExc%1").arg(n)))->isChecked(), qPrintable(QString::number(n)));
        QCOMPARE(w.hex().mid(14, 2), QString("3F"));
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString("3F"));
        // Clearing one box clears its flag, though its armour twin still shows a tick.
        w.click(w.check("checkExc3"));
        QCOMPARE(w.hex().mid(14, 2), QString("3B"));
        QVERIFY(w.check("checkExc9")->isChecked());
        // "All" is still ticked: clicking it clears every box and flag.
        QVERIFY(w.check("checkExcAll")->isChecked());
        w.click(w.check("checkExcAll"));
        QCOMPARE(w.hex().mid(14, 2), QString("00"));
        for (int n = 1; n <= 12; ++n)
            QVERIFY(!w.check(qPrintable(QString("checkExc%1").arg(n)))->isChecked());
        w.click(w.check("checkExcAll"));
        QCOMPARE(w.hex().mid(14, 2), QString("3F"));
        QVERIFY(w.check("checkExc3")->isChecked());
    }

    void weaponAndArmourBoxesShareAFlag()
    {
        DataFolder data;
        Window w(data);
        w.click(w.check("checkExc7"));
        QCOMPARE(w.hex().mid(14, 2), QString("01"));
        w.click(w.check("checkExc7"));
        w.click(w.check("checkExc1"));
        QCOMPARE(w.hex().mid(14, 2), QString("01"));
        w.click(w.check("checkExc12"));
        QCOMPARE(w.hex().mid(14, 2), QString("21"));
        QCOMPARE(w.comment(), QString("Kris"));
    }

    void everySetterHighlightsItsPartOfBothCodes()
    {
        DataFolder data;
        Window w(data);
        CodeBox* hex = w.code("txtResultHex");
        CodeBox* shop = w.code("txtResultShop");
        auto expectHighlight = [&](int hexStart, int hexLength, const QString& shopPart, int shopStart) {
            QCOMPARE(hex->highlightStart(), hexStart);
            QCOMPARE(hex->highlightedText().size(), hexLength);
            QCOMPARE(shop->highlightedText(), shopPart);
            QCOMPARE(shop->highlightStart(), shopStart);
        };
        w.choose("comboItemSelector", "Katana");
        expectHighlight(0, 2, "0 3", 0);
        w.choose("comboLevel", "+11");
        expectHighlight(2, 2, "11", 4);
        w.type("txtDur", "123");
        expectHighlight(4, 2, "123", 7);
        w.click(w.check("checkSkill"));
        expectHighlight(2, 2, "1", 11);
        w.click(w.check("checkLuck"));
        expectHighlight(2, 2, "1", 13);
        w.choose("comboOpt", "+12");
        expectHighlight(2, 2, "3", 15);
        QCOMPARE(w.shop(), QString("0 3 11 123 1 1 3"));
        QCOMPARE(w.hex(), QString("03DF7B00000000000000"));
        w.type("txtSerial", "1000");
        expectHighlight(6, 8, "3", 15);
        QCOMPARE(hex->highlightedText(), QString("000003E8"));
        w.click(w.check("checkExc2"));
        expectHighlight(14, 2, "3", 15);
        w.choose("comboClassSelector", "Axes");
        expectHighlight(0, 2, "1 0", 0);
    }

    void highlightStaysWhenAnotherControlHasTheFocus()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboLevel", "+5");
        w.box("txtResultHex")->setFocus();
        w.box("txtShopComment")->setFocus();
        // Another box selecting its text does not take the highlight away.
        w.box("txtQuery")->setFocus();
        w.box("txtQuery")->selectAll();
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString("28"));
        QCOMPARE(w.code("txtResultShop")->highlightedText(), QString("5"));
        // And it is drawn: the boxes' pictures hold the highlight colour.
        for (const char* name : {"txtResultHex", "txtResultShop"}) {
            QLineEdit* box = w.box(name);
            const QColor highlight = box->palette().color(QPalette::Active, QPalette::Highlight);
            const QImage picture = box->grab().toImage();
            int highlighted = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    highlighted += picture.pixelColor(x, y) == highlight;
            QVERIFY2(highlighted > 20, name);
        }
    }

    void loadingAnEntryHighlightsNothing()
    {
        DataFolder data;
        Window w(data);
        // Start-up ends by loading the first entry: a loaded item has no changed part.
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString());
        QCOMPARE(w.code("txtResultShop")->highlightedText(), QString());
        w.click(w.check("checkSkill"));
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString("80"));
        shopList(w)->setCurrentRow(-1);
        shopList(w)->setCurrentRow(0);
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString());
    }

    void typingIsReadAsTheBoxChanges()
    {
        DataFolder data;
        Window w(data);
        // The box is rewritten with the limited value after each keystroke.
        w.type("txtDur", "9e9");
        QCOMPARE(w.box("txtDur")->text(), QString("99"));
        QCOMPARE(w.shop(), QString("0 0 0 99 0 0 0"));
        w.type("txtDur", "x");
        QCOMPARE(w.box("txtDur")->text(), QString("0"));
    }

    void durabilityIsLimitedInTheBox()
    {
        DataFolder data;
        Window w(data);
        w.type("txtDur", "300");
        QCOMPARE(w.box("txtDur")->text(), QString("255"));
        QCOMPARE(w.shop(), QString("0 0 0 255 0 0 0"));
        QCOMPARE(w.hex().mid(4, 2), QString("FF"));
        w.type("txtDur", "1234");
        QCOMPARE(w.box("txtDur")->text(), QString("123"));  // at most three characters are typed
        w.box("txtDur")->clear();
        QCOMPARE(w.box("txtDur")->text(), QString("0"));
        QCOMPARE(w.shop(), QString("0 0 0 0 0 0 0"));
    }

    void durabilityDoubleClickTakesTheCatalogValue()
    {
        DataFolder data;
        Window w(data);
        QTest::mouseDClick(w.get<QLabel>("lblDur"), Qt::LeftButton);
        QCOMPARE(w.box("txtDur")->text(), QString("20"));
        QCOMPARE(w.shop(), QString("0 0 0 20 0 0 0"));
    }

    void outOfRangeNumbersAreRefusedAndTheCodesKept()
    {
        DataFolder data;
        Window w(data);
        w.type("txtDur", "12");
        w.paste("txtDur", "9e9");
        QCOMPARE(w.shop(), QString("0 0 0 12 0 0 0"));
        QVERIFY2(w.status().startsWith("Durability> "), qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        QCOMPARE(w.box("txtDur")->text(), QString("9e9"));

        w.type("txtSerial", "-9e99");
        QCOMPARE(w.hex().mid(6, 8), QString("FFFFFFF7"));
        QVERIFY2(w.status().startsWith("Serial Number> "), qPrintable(w.status()));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        w.type("txtSerial", "&H7FFFFFF");
        QCOMPARE(w.hex().mid(6, 8), QString("07FFFFFF"));
    }

    void writeProtectKeepsTheComment()
    {
        DataFolder data;
        Window w(data);
        w.click(w.check("chkProtectComment"));
        w.type("txtShopComment", "House special");
        QCOMPARE(shopList(w)->item(0)->text(), QString("0,0,0,0,0,0,0,House special"));
        w.click(w.check("checkLuck"));
        QCOMPARE(w.comment(), QString("House special"));
        QCOMPARE(shopList(w)->item(0)->text(), QString("0,0,0,0,0,1,0,House special"));
        QCOMPARE(w.status(), QString("Save Item> The item is saved to the list."));
        QCOMPARE(w.form().item()->strShopComment, std::string("Kris+Luck"));
        w.click(w.check("chkProtectComment"));
        w.click(w.check("checkSkill"));
        QCOMPARE(w.comment(), QString("Kris+Skill+Luck"));
    }
};

QTEST_MAIN(PropertiesTest)
#include "properties_test.moc"
