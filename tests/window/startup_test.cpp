// Start-up as the operator sees it, and its failure message.
#include "window/editor_app.h"
#include "window_fixture.h"

#include <QApplication>

using namespace vs;
using namespace vs::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheFirstSword()
    {
        DataFolder data;
        Window w(data);
        QVERIFY(w.category(1)->isChecked());
        QVERIFY(!w.category(0)->isChecked());
        QCOMPARE(w.combo("comboClassSelector")->currentText(), QString("Swords"));
        QCOMPARE(w.rows("comboClassSelector"),
                 QStringList({"Axes", "Blunt Weapons", "Bows,Arrows,Crossbows,Bolts", "Pole Arms", "Staves", "Swords"}));
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Kris"));
        QCOMPARE(shopList(w)->count(), 1);
        QCOMPARE(shopList(w)->item(0)->text(), QString("0,0,0,0,0,0,0,Kris"));
        QCOMPARE(w.status(), QString("Add Item> Item Added: 0,0,0,0,0,0,0,Kris"));
        QCOMPARE(w.statusColor(), QColor(255, 255, 255));
        QCOMPARE(w.hex(), QString("00000000000000000000"));
        QCOMPARE(w.shop(), QString("0 0 0 0 0 0 0"));
        QCOMPARE(w.comment(), QString("Kris"));
        QCOMPARE(w.get<QLabel>("lblDur")->text(), QString("(20)"));
        QVERIFY(!w.combo("comboSubTypeSelector")->isEnabled());
        QCOMPARE(w.rows("comboOpt"), QStringList({"0", "+4", "+8", "+12", "+16"}));
        QCOMPARE(w.combo("comboLevel")->currentText(), QString("0"));
        QCOMPARE(w.form().caption(), QString("Vaultsmith"));
        QVERIFY(w.form().allowUpdate);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void controlsShowTheirDesignTexts()
    {
        DataFolder data;
        Window w(data);
        QCOMPARE(w.box("txtDur")->text(), QString("0"));
        QCOMPARE(w.box("txtSerial")->text(), QString("0"));
        QCOMPARE(w.check("checkLuck")->text(), QString("Luck"));
        QCOMPARE(w.check("checkExc12")->text(), QString("Increase HP +4%"));
        QCOMPARE(w.get<QLabel>("lblDur")->toolTip(), QString("Double-click to use this value"));
        QCOMPARE(w.box("txtResultShop")->toolTip(), QString("Shop Code"));
        QCOMPARE(w.category(2)->toolTip(), QString("Miscellaneous Items"));
        // Geometry in twips, 15 to a pixel; the middle column stands right of the list column.
        QCOMPARE(w.get<QWidget>("frmShop")->geometry(), QRect(0, 32, 193, 393));
        QCOMPARE(w.get<QWidget>("frmSelector")->geometry(), QRect(193, 160, 193, 233));
        QCOMPARE(w.get<QWidget>("frmItemProperties")->geometry(), QRect(386, 0, 233, 393));
        QCOMPARE(w.check("checkExc12")->geometry(), QRect(16, 368, 209, 17));
        QVERIFY(QFontInfo(w.box("txtResultHex")->font()).fixedPitch());
        QVERIFY(QFontInfo(w.box("txtResultShop")->font()).fixedPitch());
    }

    void missingOrMalformedDataEndsWithTheMessage_data()
    {
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<bool>("withItems");
        QTest::addColumn<bool>("withSubTypes");
        QTest::addColumn<QString>("errorLine");
        QTest::newRow("no item file") << QByteArray() << false << true << QString("   Error:53, file not found (");
        QTest::newRow("no subtype file") << QByteArray(kTestItems) << true << false
                                         << QString("   Error:53, file not found (");
        QTest::newRow("short record") << QByteArray("0\r\n1 1 1\r\n") << true << true
                                      << QString("   Error:9, index outside a table (");
        QTest::newRow("width too large") << QByteArray("0\r\n1 99999 1 0 0 0 \"A\"\r\n") << true << true
                                         << QString("   Error:6, number too large for its field (");
        QTest::newRow("one-letter name") << QByteArray("0\r\n1 1 1 0 0 0 A\r\n") << true << true
                                         << QString("   Error:5, invalid argument (");
        // Every byte of the failing token reaches the box, a NUL shown as \0.
        static const char nulName[] = "0\r\n1 1 1 0 0 0 \0 0 0 0 20\r\n";
        QTest::newRow("NUL name") << QByteArray(nulName, sizeof nulName - 1) << true << true
                                  << QString("   Error:5, invalid argument (item name \\0 in item(Kor).txt, line 2)");
    }

    void missingOrMalformedDataEndsWithTheMessage()
    {
        QFETCH(QByteArray, items);
        QFETCH(bool, withItems);
        QFETCH(bool, withSubTypes);
        QFETCH(QString, errorLine);
        DataFolder data(items, kTestSubTypes, withItems, withSubTypes);
        RecordingDialogs dialogs;
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        QVERIFY(app);
        const int status = runEditor(*app, dialogs, data.path());
        QCOMPARE(status, 1);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.titles.front(), QString("Vaultsmith"));
        const QStringList lines = dialogs.messages.front().split("\r\n");
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("Error reading a required data file.  Program will terminate."));
        QVERIFY2(lines[1].startsWith(errorLine), qPrintable(lines[1]));
        QCOMPARE(lines[2], QString("   Make sure data files exist and have proper format. "));
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
