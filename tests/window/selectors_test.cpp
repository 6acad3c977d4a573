// Choosing an item through the category buttons and the selectors.
#include "window_fixture.h"

using namespace vs;
using namespace vs::test;

class SelectorsTest : public QObject {
    Q_OBJECT
private slots:
    void classWithoutTheItemIndexMovesToItsFirstItem()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboItemSelector", "Katana");
        QCOMPARE(w.shop(), QString("0 3 0 0 0 0 0"));
        QCOMPARE(w.get<QLabel>("lblDur")->text(), QString("(40)"));
        w.choose("comboClassSelector", "Axes");
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Small Axe"));
        QCOMPARE(w.shop(), QString("1 0 0 0 0 0 0"));
        QCOMPARE(w.hex().left(2), QString("20"));
        QCOMPARE(w.comment(), QString("Small Axe"));
    }

    void classWithTheItemIndexKeepsIt()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboItemSelector", "Short Sword");
        w.choose("comboClassSelector", "Axes");
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Hand Axe"));
        QCOMPARE(w.shop(), QString("1 1 0 0 0 0 0"));
    }

    void classWithoutItemsIsReported()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboClassSelector", "Blunt Weapons");
        QCOMPARE(w.combo("comboItemSelector")->count(), 0);
        QCOMPARE(w.status(), QString("Select Class> No known items are found."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        QCOMPARE(w.shop(), QString("2 0 0 0 0 0 0"));
        QCOMPARE(w.comment(), QString("Unknown Item"));
    }

    void categoryButtonsMoveToTheirTopClass()
    {
        DataFolder data;
        Window w(data);
        w.click(w.category(0));
        QVERIFY(w.category(0)->isChecked());
        QVERIFY(!w.category(1)->isChecked());
        QCOMPARE(w.rows("comboClassSelector"),
                 QStringList({"Armor", "Boots", "Gloves", "Helmets", "Pants", "Shields"}));
        QCOMPARE(w.combo("comboClassSelector")->currentText(), QString("Armor"));
        QCOMPARE(w.shop(), QString("8 0 0 0 0 0 0"));
        QCOMPARE(w.hex(), QString("00000000000000800000"));
        w.click(w.category(1));
        QCOMPARE(w.combo("comboClassSelector")->currentText(), QString("Axes"));
    }

    void itemWithALevelZeroSubtype()
    {
        DataFolder data;
        Window w(data);
        w.click(w.category(2));
        w.choose("comboClassSelector", "Potions,Box,Jewels,DS,Quest");
        w.choose("comboItemSelector", "Heart");
        w.choose("comboLevel", "+3");
        QCOMPARE(w.comment(), QString("Heart+3"));
        // Chosen by the user, the item takes the level of its first subtype row.
        w.choose("comboItemSelector", "Gift Box");
        ListSelector* sub = w.combo("comboSubTypeSelector");
        QVERIFY(sub->isEnabled());
        QCOMPARE(w.rows("comboSubTypeSelector"), QStringList({"Small Gift Box", "Gift Box of Fortune"}));
        QCOMPARE(sub->currentText(), QString("Small Gift Box"));
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("0"));
        QCOMPARE(w.comment(), QString("Small Gift Box"));
        w.choose("comboSubTypeSelector", "Gift Box of Fortune");
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("+1"));
        QCOMPARE(w.shop(), QString("14 11 1 0 0 0 0"));
        QCOMPARE(w.comment(), QString("Gift Box of Fortune"));
    }

    void anotherClassKeepsTheLevel()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboLevel", "+3");
        w.click(w.category(2));
        w.choose("comboClassSelector", "Potions,Box,Jewels,DS,Quest");
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Gift Box"));
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("+3"));
        QCOMPARE(w.shop(), QString("14 11 3 0 0 0 0"));
        QCOMPARE(w.comment(), QString("Gift Box+3"));
    }

    void itemWithoutALevelZeroSubtypeOffersThePlainItem()
    {
        DataFolder data;
        Window w(data);
        w.click(w.category(2));
        w.choose("comboClassSelector", "Potions,Box,Jewels,DS,Quest");
        w.choose("comboItemSelector", "Heart");
        QCOMPARE(w.rows("comboSubTypeSelector"), QStringList({"Heart", "Heart of Love", "Heart of Friendship"}));
        QCOMPARE(w.combo("comboSubTypeSelector")->currentText(), QString("Heart"));
        w.choose("comboLevel", "+2");
        QCOMPARE(w.combo("comboSubTypeSelector")->currentText(), QString("Heart of Friendship"));
        QCOMPARE(w.comment(), QString("Heart of Friendship"));
        // An item without subtypes leaves the selector disabled with the old rows.
        w.choose("comboItemSelector", "Gift Box");
        w.click(w.category(1));
        QVERIFY(!w.combo("comboSubTypeSelector")->isEnabled());
        QCOMPARE(w.rows("comboSubTypeSelector"), QStringList({"Small Gift Box", "Gift Box of Fortune"}));
    }

    void shieldsAndJewelrySwitchTheOptionLabels()
    {
        DataFolder data;
        Window w(data);
        w.click(w.category(0));
        w.choose("comboClassSelector", "Shields");
        QCOMPARE(w.rows("comboOpt"), QStringList({"0", "+5", "+10", "+15", "+20"}));
        w.choose("comboOpt", "+10");
        QCOMPARE(w.comment(), QString("Buckler+0+10"));
        w.click(w.category(2));
        w.choose("comboClassSelector", "Guardians,Jewelry,Feather,Fruit,BC");
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Ring of Ice"));
        QCOMPARE(w.rows("comboOpt"), QStringList({"0", "+1%", "+2%", "+3%", "+4%"}));
        QCOMPARE(w.comment(), QString("Ring of Ice+0+2%"));
        w.choose("comboItemSelector", "Feather");
        QCOMPARE(w.rows("comboOpt"), QStringList({"0", "+4", "+8", "+12", "+16"}));
        QCOMPARE(w.combo("comboOpt")->currentText(), QString("+8"));
    }

    void optionFourUsesTheHighBitAndHighlightsIt()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboOpt", "+16");
        QCOMPARE(w.hex(), QString("00000000000000400000"));
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString("40"));
        QCOMPARE(w.code("txtResultShop")->highlightedText(), QString("4"));
        w.choose("comboOpt", "+12");
        QCOMPARE(w.code("txtResultHex")->highlightedText(), QString("03"));
    }
};

QTEST_MAIN(SelectorsTest)
#include "selectors_test.moc"
