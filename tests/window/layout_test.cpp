// Following the window's size, the menus and their shortcuts, the clipboard and About.
#include "window_fixture.h"

#include <QClipboard>
#include <QDialog>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QMenuBar>

using namespace vs;
using namespace vs::test;

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void widerWindowsWidenTheListColumn()
    {
        DataFolder data;
        Window w(data);
        auto geometry = [&](const char* name) { return w.get<QWidget>(name)->geometry(); };
        const QRect shop = geometry("frmShop"), list = geometry("lstShop"), ctrl = geometry("frmShopCtrl");
        const QRect banner = geometry("frmBanner"), props = geometry("frmItemProperties");
        w.form().resize(w.form().width() + 100, w.form().height() + 40);
        QTRY_COMPARE(geometry("frmShop").width(), shop.width() + 100);
        QCOMPARE(geometry("frmShop").height(), shop.height() + 40);
        QCOMPARE(geometry("lstShop").width(), list.width() + 100);
        QCOMPARE(geometry("frmShopCtrl").width(), ctrl.width() + 100);
        QCOMPARE(geometry("frmBanner").left(), banner.left() + 100);
        QCOMPARE(geometry("frmBanner").width(), banner.width());
        QCOMPARE(geometry("frmSelector").left(), banner.left() + 100);
        QCOMPARE(geometry("frmDebug").left(), banner.left() + 100);
        QCOMPARE(geometry("frmItemProperties").left(), props.left() + 100);
        QCOMPARE(geometry("frmItemProperties").size(), props.size());
    }

    void menusCarryTheirCaptionsAndShortcuts()
    {
        DataFolder data;
        Window w(data);
        const QList<QPair<const char*, QString>> items = {
            {"mnuOpen", "Ctrl+O"},      {"mnuSave", "Ctrl+S"},     {"mnuSaveAs", "Ctrl+A"},
            {"mnuExit", "Ctrl+X"},      {"mnuUpdateAll", "Ctrl+U"}, {"mnuInsertItem", "Ctrl+I"},
            {"mnuBlank", "Ctrl+B"},     {"mnuComment", "Ctrl+C"},  {"mnuRemoveItem", ""},
            {"mnuClearList", "Ctrl+R"}, {"mnuVCodeCopy", "Ctrl+V"}, {"mnuShopCodeCopy", "Ctrl+H"},
            {"mnuSize0", ""},           {"mnuAboutProg", "Ctrl+P"}};
        for (const auto& [name, keys] : items)
            QCOMPARE(w.get<QAction>(name)->shortcut().toString(), keys);
        QCOMPARE(w.get<QAction>("mnuSaveAs")->text(), QString("Save as..."));
        QVERIFY(!w.get<QAction>("mnuSave")->isEnabled());
        QVERIFY(!w.get<QAction>("mnuSize0")->isEnabled());
    }

    void copyCommandsFillTheClipboard()
    {
        DataFolder data;
        Window w(data);
        w.choose("comboItemSelector", "Katana");
        w.trigger("mnuShopCodeCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("0 3 0 0 0 0 0"));
        QCOMPARE(w.status(), QString("Shop Code copied to clipboard."));
        w.trigger("mnuVCodeCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("03000000000000000000"));
        QCOMPARE(w.status(), QString("Vault Code copied to clipboard."));
    }

    void menuKeysWinInsideTextBoxes()
    {
        DataFolder data;
        Window w(data);
        QGuiApplication::clipboard()->setText("pasted");
        QLineEdit* query = w.box("txtQuery");
        query->setFocus();
        QTest::keyClick(query, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(query->text(), QString("name of item to find..."));
        QCOMPARE(QGuiApplication::clipboard()->text(), w.hex());
        QTest::keyClick(query, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(shopList(w)->count(), 2);
        QCOMPARE(shopList(w)->item(1)->text(), QString("//"));
    }

    void aboutShowsTheCaptionAndVersion()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.form().openFile(writeFile(dir, "shop5.txt", ""));
        w.trigger("mnuAboutProg");
        auto* about = w.form().findChild<QDialog*>("formAbout");
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QVERIFY(!about->isModal());
        QCOMPARE(about->windowTitle(), QString("About Vaultsmith - shop5.txt"));
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), QString("Vaultsmith - shop5.txt"));
        const QString version = about->findChild<QLabel*>("lblVersion")->text();
        QVERIFY2(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+f$").match(version).hasMatch(), qPrintable(version));
        w.click(about->findChild<QPushButton*>("cmdSysInfo"));
        QCOMPARE(w.dialogs.messages.back(), QString("System Information Is Unavailable At This Time"));
        QVERIFY(about->isVisible());
        QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(!about->isVisible());
        w.form().openFile(writeFile(dir, "shop6.txt", ""));
        w.trigger("mnuAboutProg");
        about = w.form().findChild<QDialog*>("formAbout");
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Vaultsmith - shop6.txt"));
        w.click(about->findChild<QPushButton*>("cmdOK"));
        QTRY_VERIFY(!w.form().findChild<QDialog*>("formAbout"));
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
