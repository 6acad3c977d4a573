// The search frame: finding, ranking, loading a hit, opening and closing.
#include "window_fixture.h"

using namespace vs;
using namespace vs::test;

class SearchTest : public QObject {
    Q_OBJECT
private slots:
    void enterSearchesAndOpensTheFrame()
    {
        DataFolder data;
        Window w(data);
        auto* frame = w.get<QWidget>("frmSearch");
        QCOMPARE(frame->geometry().top(), 128);
        QCOMPARE(frame->height(), 41);
        w.type("txtQuery", "axe");
        QTest::keyClick(w.box("txtQuery"), Qt::Key_Return);
        QCOMPARE(texts(w.get<QListWidget>("lstResults")), QStringList({"Battle Axe", "Hand Axe", "Small Axe"}));
        QCOMPARE(frame->geometry().top(), 0);
        QCOMPARE(frame->geometry().bottom(), 128 + 41 - 1);  // the bottom edge stays
        QVERIFY(w.get<QListWidget>("lstResults")->isVisible());
    }

    void wholeWordsAndExclusions()
    {
        DataFolder data;
        Window w(data);
        w.type("txtQuery", "sword -short");
        w.click(w.get<QPushButton>("cmdFind"));
        QVERIFY(texts(w.get<QListWidget>("lstResults")).isEmpty());
        w.type("txtQuery", "ax");
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(w.get<QListWidget>("lstResults")->count(), 3);
        w.click(w.check("optSearchMode"));
        QCOMPARE(w.form().searchMode, 1);
        w.type("txtQuery", "ax");
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(w.get<QListWidget>("lstResults")->count(), 0);
        w.type("txtQuery", "gift -small");
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(texts(w.get<QListWidget>("lstResults")), QStringList({"Gift Box of Fortune", "Gift Box"}));
    }

    void moreThanThreeTermsAreCut()
    {
        DataFolder data;
        Window w(data);
        w.type("txtQuery", "Heart of Love Now");
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(w.box("txtQuery")->text(), QString("heart of love "));
        QCOMPARE(texts(w.get<QListWidget>("lstResults")).front(), QString("Heart of Love"));
    }

    void choosingAHitLoadsItAtItsLevel()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboOpt", "+8");
        w.type("txtQuery", "friendship");
        w.click(w.get<QPushButton>("cmdFind"));
        auto* results = w.get<QListWidget>("lstResults");
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->data(Qt::UserRole).toInt(), 6656 + 2 * 512 + 14 * 32 + 12);
        results->setCurrentRow(0);
        QVERIFY(w.category(2)->isChecked());
        QCOMPARE(w.combo("comboItemSelector")->currentText(), QString("Heart"));
        QCOMPARE(w.combo("comboSubTypeSelector")->currentText(), QString("Heart of Friendship"));
        QCOMPARE(w.shop(), QString("14 12 2 0 0 0 0"));
        // The load wrote into the selected entry; later edits do not.
        QCOMPARE(shopList(w)->item(0)->text(), QString("14,12,2,0,0,0,0,Heart of Friendship"));
        w.choose("comboOpt", "+4");
        QCOMPARE(shopList(w)->item(0)->text(), QString("14,12,2,0,0,0,0,Heart of Friendship"));
    }

    void anEmptyQueryClosesTheFrameWhenLeft()
    {
        DataFolder data;
        Window w(data);
        auto* frame = w.get<QWidget>("frmSearch");
        w.type("txtQuery", "ring");
        w.click(w.get<QPushButton>("cmdFind"));
        QCOMPARE(frame->geometry().top(), 0);
        w.box("txtDur")->setFocus();
        QCOMPARE(frame->geometry().top(), 0);  // a query holds it open
        w.box("txtQuery")->setFocus();
        w.box("txtQuery")->clear();
        w.box("txtDur")->setFocus();
        QCOMPARE(frame->geometry().top(), 128);
        QCOMPARE(frame->height(), 41);
        QCOMPARE(w.get<QListWidget>("lstResults")->count(), 1);  // the rows stay until the next search
    }

    void focusSelectsTheWholeQuery()
    {
        DataFolder data;
        Window w(data);
        QLineEdit* query = w.box("txtQuery");
        QTest::mouseClick(query, Qt::LeftButton, {}, QPoint(10, query->height() / 2));
        QTRY_COMPARE(query->selectedText(), QString("name of item to find..."));
    }
};

QTEST_MAIN(SearchTest)
#include "search_test.moc"
