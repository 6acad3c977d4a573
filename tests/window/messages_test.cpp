// View > Messages: every status message in a log with its time and colour, and
// the whole message as the status line's tool-tip.
#include "window/form_messages.h"
#include "window/form_storage.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScrollBar>
#include <numeric>

using namespace vs;
using namespace vs::test;

namespace {

const QColor kWhite(255, 255, 255), kYellow(255, 255, 0), kGreen(0, 255, 0);

QListView* openLog(Window& w)
{
    w.trigger("mnuMessages");
    auto* window = w.get<QWidget>("formMessages");
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("Messages not exposed");
    return w.get<QListView>("lstMessages");
}

QVariant cell(QListView* log, int row, int role)
{
    return log->model()->index(row, 0).data(role);
}

QStringList column(QListView* log, int role)
{
    QStringList values;
    for (int row = 0; row < log->model()->rowCount(); ++row)
        values << cell(log, row, role).toString();
    return values;
}

// The rows as Copy puts them on the clipboard: a line each, time, tab, message.
QString copied(QListView* log, QList<int> rows)
{
    QString text;
    for (int row : rows)
        text += cell(log, row, MessageLog::TimeRole).toDateTime().toString("HH:mm:ss") + "\t" +
                cell(log, row, MessageLog::TextRole).toString() + "\n";
    return text;
}

}  // namespace

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void everyMessageIsLoggedInOrderWithItsColourAndTime()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString started = w.status();
        const QDateTime before = QDateTime::currentDateTime();
        const QString longName = "shop_" + QString(120, 'x') + ".txt";
        w.form().openFile(dir.filePath(longName));
        const QString missing = "Open> File \"" + longName + "\" not found.";
        // The line shows what fits of it; the tool-tip all of it.
        auto* line = w.get<QLabel>("lblDebug");
        QVERIFY(line->fontMetrics().horizontalAdvance(missing) > line->width());
        QCOMPARE(line->toolTip(), missing);
        w.form().openFile(writeFile(dir, "shop1.txt", "0 1 0 20 0 0 0 //Kris\r\n"));
        const QString opened = w.status();
        QVERIFY(opened.startsWith("Open> File Opened: shop1.txt"));
        QCOMPARE(line->toolTip(), opened);
        w.trigger("mnuVCodeCopy");
        const QDateTime after = QDateTime::currentDateTime();

        // Opened only now, the log holds what start-up and each command said.
        QListView* log = openLog(w);
        const int first = log->model()->rowCount() - 4;
        QVERIFY(first >= 0);
        const QStringList said = {started, missing, opened, "Vault Code copied to clipboard."};
        QCOMPARE(column(log, MessageLog::TextRole).mid(first), said);
        const QList<QColor> colours = {kWhite, kYellow, kGreen, kWhite};
        for (int n = 0; n < said.size(); ++n) {
            const int row = first + n;
            QCOMPARE(cell(log, row, MessageLog::ColorRole).value<QColor>(), colours[n]);
            const QDateTime time = cell(log, row, MessageLog::TimeRole).toDateTime();
            QVERIFY(n == 0 ? time <= before : time >= before && time <= after);
            QCOMPARE(cell(log, row, Qt::DisplayRole).toString(), time.toString("HH:mm:ss") + "  " + said[n]);
        }
        // The open window takes new messages at the bottom.
        w.trigger("mnuShopCodeCopy");
        QCOMPARE(log->model()->rowCount(), first + 5);
        QCOMPARE(cell(log, first + 4, MessageLog::TextRole).toString(), QString("Shop Code copied to clipboard."));
        // And the closed one goes on logging.
        w.get<QWidget>("formMessages")->close();
        w.form().openFile(dir.filePath("shop2.txt"));
        QCOMPARE(openLog(w)->model()->rowCount(), first + 6);
        QCOMPARE(cell(log, first + 5, MessageLog::TextRole).toString(), QString("Open> File \"shop2.txt\" not found."));
        QCOMPARE(cell(log, first + 5, MessageLog::ColorRole).value<QColor>(), kYellow);
    }

    void rowsAreCopiedAsTimeTabMessageLines()
    {
        DataFolder data;
        Window w(data);
        w.trigger("mnuVCodeCopy");
        w.form().openFile("no-such-shop.txt");
        w.trigger("mnuShopCodeCopy");
        QListView* log = openLog(w);
        QVERIFY(QTest::qWaitForWindowActive(w.get<QWidget>("formMessages")));
        auto pick = [&](int row, Qt::KeyboardModifiers keys) {
            QTest::mouseClick(log->viewport(), Qt::LeftButton, keys,
                              log->visualRect(log->model()->index(row, 0)).center());
        };
        const int vault = log->model()->rowCount() - 3, missing = vault + 1, shop = vault + 2;
        pick(shop, {});
        pick(vault, Qt::ControlModifier);  // chosen bottom first, copied top first
        w.trigger("mnuMessagesCopy");
        const QString chosen = QGuiApplication::clipboard()->text();
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\tVault Code copied to clipboard.\n"
                                    "\\d\\d:\\d\\d:\\d\\d\tShop Code copied to clipboard.\n\\z")
                     .match(chosen)
                     .hasMatch(),
                 qPrintable(chosen));
        QCOMPARE(chosen, copied(log, {vault, shop}));

        // Ctrl+C and Ctrl+A are the list's here, not the main window's Comment
        // Line and Save as...
        QList<int> all(shop + 1);
        std::iota(all.begin(), all.end(), 0);
        const int listRows = shopList(w)->count();
        pick(missing, {});
        QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied(log, {missing}));
        QTest::keyClick(log, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied(log, all));
        QCOMPARE(shopList(w)->count(), listRows);
        QVERIFY(w.dialogs.proposedSaves.isEmpty());

        pick(0, {});
        w.trigger("mnuMessagesCopyAll");
        QCOMPARE(QGuiApplication::clipboard()->text(), copied(log, all));
        w.trigger("mnuMessagesClear");
        QCOMPARE(log->model()->rowCount(), 0);
        w.trigger("mnuVCodeCopy");
        QCOMPARE(column(log, MessageLog::TextRole), QStringList{"Vault Code copied to clipboard."});
    }

    void aStorageWindowsMessagesCarryItsName()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        w.dialogs.nextOpen = writeFile(dir, "vault.txt", QByteArray(2400, 'F'));
        w.trigger("mnuOpenStorage");
        auto* storage = w.form().findChild<formStorage*>();
        QVERIFY(storage);
        storage->findChild<QAction*>("mnuStorageCopyHex")->trigger();
        const QString hex = "Copy as Hex> The 2400 digits of the warehouse are on the clipboard.";
        QCOMPARE(w.status(), hex);
        QListView* log = openLog(w);
        const int last = log->model()->rowCount() - 1;
        QCOMPARE(cell(log, last - 1, MessageLog::TextRole).toString(), QString("Open Storage> vault.txt: 0 items."));
        QCOMPARE(cell(log, last - 1, MessageLog::SourceRole).toString(), QString());
        QCOMPARE(cell(log, last, MessageLog::SourceRole).toString(), QString("Warehouse - vault.txt"));
        QVERIFY(cell(log, last, Qt::DisplayRole).toString().endsWith("  [Warehouse - vault.txt] " + hex));
        QCOMPARE(cell(log, last, MessageLog::ColorRole).value<QColor>(), kGreen);
    }

    void theLogFollowsNewMessagesAtTheBottomAndKeepsTheNewest()
    {
        DataFolder data;
        Window w(data);
        QListView* log = openLog(w);
        for (int n = 1; n <= 200; ++n)
            w.form().tellUser(StatusColor::White, QString("Note> %1").arg(n));
        QScrollBar* bar = log->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());
        bar->setValue(0);
        w.trigger("mnuVCodeCopy");
        QTest::qWait(50);
        QCOMPARE(bar->value(), 0);  // a user reading older rows is left there

        w.trigger("mnuMessagesClear");
        const int sent = MessageLog::kCapacity + 5;
        for (int n = 1; n <= sent; ++n)
            w.form().tellUser(n % 2 ? StatusColor::White : StatusColor::Yellow, QString("Note> %1").arg(n));
        QCOMPARE(log->model()->rowCount(), MessageLog::kCapacity);
        QCOMPARE(cell(log, 0, MessageLog::TextRole).toString(), QString("Note> 6"));
        QCOMPARE(cell(log, 0, MessageLog::ColorRole).value<QColor>(), kYellow);
        QCOMPARE(cell(log, MessageLog::kCapacity - 1, MessageLog::TextRole).toString(), QString("Note> %1").arg(sent));
        // Opened again, it shows the newest.
        bar->setValue(0);
        w.get<QWidget>("formMessages")->close();
        openLog(w);
        QVERIFY(bar->value() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }
};

QTEST_MAIN(MessagesTest)
#include "messages_test.moc"
