// The window as a desktop program: its command line, File > Recent Files, files
// dropped on it, its place on the screen, and ending it with a signal.
#include "window/command_line.h"
#include "window/editor_app.h"
#include "window/settings.h"
#include "window_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <csignal>
#include <functional>

using namespace vs;
using namespace vs::test;

namespace {

using Action = EditorCommandLine::Action;

// Runs the editor's event loop as main() does; `during` runs once the window
// is up, gets the window and must end the loop (or the test fails on a timeout).
int runWindow(const DataFolder& data, RecordingDialogs& dialogs, const QString& file,
              const std::function<void(formTolvane&)>& during)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    bool ran = false;
    QTimer::singleShot(0, [&] {
        formTolvane* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<formTolvane*>(w); form && form->isVisible())
                window = form;
        if (!window)
            qFatal("the editor window is not shown");
        ran = true;
        during(*window);
    });
    // A loop that nobody ends is a failure, not a hang.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(20000);
    const int status = runEditor(*app, dialogs, data.path(), file);
    if (!ran)
        qFatal("the window never came up");
    return status;
}

// Drags `mime` over the middle of `target` and drops it there, as the desktop
// delivers it: to the window, which hands it to the control under the pointer.
// True when the drop was taken.
bool dropOn(QWidget* target, const QMimeData& mime)
{
    QWindow* window = target->window()->windowHandle();
    const QPoint at = target->mapTo(target->window(), target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

bool dropOn(QWidget* target, const QString& path)
{
    // File managers offer the file's URL also as plain text, which a text box would paste.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    mime.setText(QUrl::fromLocalFile(path).toString());
    return dropOn(target, mime);
}

QStringList recentPaths(Window& w)
{
    QStringList paths;
    for (QAction* action : w.get<QMenu>("mnuRecent")->actions())
        if (action->objectName().startsWith("mnuRecent") && action->data().isValid())
            paths << action->data().toString();
    return paths;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        settings().clear();  // no recent files, no kept position
    }

    void commandLineVersionAndHelp()
    {
        for (const char* option : {"--version", "-v"}) {
            const EditorCommandLine line = readEditorCommandLine({"vaultsmith", option});
            QCOMPARE(line.action, Action::Version);
            QCOMPARE(line.text, QString("vaultsmith " VAULTSMITH_VERSION "\n"));
        }
        for (const char* option : {"--help", "-h"}) {
            const EditorCommandLine line = readEditorCommandLine({"vaultsmith", "--data", "x", option, "f"});
            QCOMPARE(line.action, Action::Help);
            QVERIFY(line.text.startsWith("Usage: vaultsmith [--data DIR] [--storage FILE]... [FILE]\n"));
            for (const char* word : {"--data DIR", "--storage FILE", "--version", "FILE", "Exit status:"})
                QVERIFY2(line.text.contains(word), word);
        }
    }

    void commandLineDataAndFile()
    {
        EditorCommandLine line = readEditorCommandLine({"vaultsmith"});
        QCOMPARE(line.action, Action::Run);
        QVERIFY(line.dataDir.isEmpty());
        QVERIFY(line.file.isEmpty());
        line = readEditorCommandLine({"vaultsmith", "shop1.txt", "--data", "/srv/data"});
        QCOMPARE(line.action, Action::Run);
        QCOMPARE(line.dataDir, QString("/srv/data"));
        QCOMPARE(line.file, QString("shop1.txt"));
        line = readEditorCommandLine({"vaultsmith", "--data=d", "--", "--shop.txt"});
        QCOMPARE(line.action, Action::Run);
        QCOMPARE(line.dataDir, QString("d"));
        QCOMPARE(line.file, QString("--shop.txt"));
        QVERIFY(line.storages.isEmpty());
        line = readEditorCommandLine({"vaultsmith", "--storage", "vault.txt", "shop1.txt", "--storage=hero.bin"});
        QCOMPARE(line.action, Action::Run);
        QCOMPARE(line.storages, QStringList({"vault.txt", "hero.bin"}));
        QCOMPARE(line.file, QString("shop1.txt"));
    }

    void commandLineBadUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("onlyQtOptions");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "vaultsmith: unknown option 'bogus'" << false;
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << "vaultsmith: one FILE at most" << false;
        QTest::newRow("data without folder") << QStringList{"--data"} << "vaultsmith: missing value after" << false;
        QTest::newRow("data twice") << QStringList{"--data", "a", "--data", "b"}
                                    << "vaultsmith: option --data given twice" << false;
        QTest::newRow("storage without file") << QStringList{"--storage"} << "vaultsmith: missing value after"
                                              << false;
        QTest::newRow("empty storage") << QStringList{"--storage", ""} << "vaultsmith: option --storage needs a file"
                                       << false;
        QTest::newRow("empty data") << QStringList{"--data", ""} << "vaultsmith: option --data needs a folder"
                                    << false;
        QTest::newRow("qt's own option") << QStringList{"-platform", "offscreen", "shop.txt"}
                                         << "vaultsmith: unknown option 'platform'" << true;
        QTest::newRow("qt's and an unknown one") << QStringList{"-style", "fusion", "--colour"}
                                                 << "vaultsmith: unknown options" << false;
    }

    void commandLineBadUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(bool, onlyQtOptions);
        const EditorCommandLine line = readEditorCommandLine(QStringList{"vaultsmith"} + arguments);
        QCOMPARE(line.action, Action::BadUsage);
        QVERIFY2(line.text.startsWith(message), qPrintable(line.text));
        QVERIFY2(line.text.endsWith("; see 'vaultsmith --help'"), qPrintable(line.text));
        QVERIFY(!line.text.contains('\n'));
        QCOMPARE(line.onlyQtOptions, onlyQtOptions);
    }

    void aFileOnTheCommandLineIsOpened()
    {
        DataFolder data;
        RecordingDialogs dialogs;
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop5.txt", "// goods\r\n0 3 0 40 0 0 0 //Katana\r\nend\r\n");
        QStringList rows;
        QString status, caption;
        const int exit = runWindow(data, dialogs, shop, [&](formTolvane& window) {
            rows = texts(shopList(window));
            status = window.findChild<QLabel*>("lblDebug")->text();
            caption = window.caption();
            window.mnuExit_Click();
        });
        QCOMPARE(exit, 0);
        QCOMPARE(rows, QStringList({"// goods", "0,3,0,40,0,0,0,Katana", "end"}));
        QCOMPARE(status, QString("Open> File Opened: shop5.txt (layout: shop, 7 columns, Type Index Level Durab Skill Luck Option)"));
        QCOMPARE(caption, QString("Vaultsmith - shop5.txt"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void aBadFileOnTheCommandLineIsReportedOnTheStatusLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        QTest::newRow("missing") << "shop9.txt" << "Open> File \"shop9.txt\" not found.";
        QTest::newRow("neither shop nor bag") << "items.txt" << "Open> \"items.txt\" is invalid.";
        QTest::newRow("a folder") << "shopdir" << "Open> File \"shopdir\" cannot be read: it is a folder.";
    }

    void aBadFileOnTheCommandLineIsReportedOnTheStatusLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, status);
        DataFolder data;
        RecordingDialogs dialogs;
        QTemporaryDir dir;
        writeFile(dir, "items.txt", "1 2 3\r\n");
        QVERIFY(QDir(dir.path()).mkdir("shopdir"));
        QString shown;
        QStringList rows;
        const int exit = runWindow(data, dialogs, dir.filePath(name), [&](formTolvane& window) {
            shown = window.findChild<QLabel*>("lblDebug")->text();
            rows = texts(shopList(window));
            window.mnuExit_Click();
        });
        QCOMPARE(exit, 0);
        QCOMPARE(shown, status);
        QCOMPARE(rows, QStringList({"0,0,0,0,0,0,0,Kris"}));  // the list start-up made
    }

    void aSignalClosesTheWindowAsExitDoes()
    {
        DataFolder data;
        RecordingDialogs dialogs;
        dialogs.saveAnswer = SaveAnswer::Cancel;
        bool stayedAfterCancel = false;
        int questionsAfterCancel = 0;
        const int exit = runWindow(data, dialogs, QString(), [&](formTolvane& window) {
            window.mnuBlank_Click();  // an unsaved change
            std::raise(SIGTERM);
            // The signal is handled in the event loop: look once it has run.
            QTimer::singleShot(50, &window, [&] {
                stayedAfterCancel = window.isVisible();
                questionsAfterCancel = dialogs.saveQuestions;
                dialogs.saveAnswer = SaveAnswer::Discard;
                std::raise(SIGINT);
            });
        });
        QVERIFY(stayedAfterCancel);
        QCOMPARE(questionsAfterCancel, 1);
        QCOMPARE(dialogs.saveQuestions, 2);
        QCOMPARE(exit, 0);
    }

    void aSecondSignalDuringTheQuestionEndsTheProgramKeepingTheRecovery()
    {
        // The operator's answer comes late: meanwhile another SIGTERM arrives.
        struct SlowDialogs : RecordingDialogs {
            SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) override
            {
                std::raise(SIGTERM);
                QTest::qWait(50);  // the event loop runs, as under a real dialog
                return RecordingDialogs::askSaveChanges(parent, title, text);
            }
        };
        DataFolder data;
        SlowDialogs dialogs;
        dialogs.saveAnswer = SaveAnswer::Cancel;
        int endedWith = -1;
        QStringList kept;
        const int exit = runWindow(data, dialogs, QString(), [&](formTolvane& window) {
            QDir(formTolvane::recoveryFolder()).removeRecursively();
            window.endNow = [&](int status) {
                endedWith = status;
                kept = QDir(formTolvane::recoveryFolder()).entryList({"*.recovery"});
                QCoreApplication::exit(status);
            };
            window.mnuBlank_Click();
            std::raise(SIGTERM);
        });
        QCOMPARE(endedWith, 128 + SIGTERM);
        QCOMPARE(exit, 128 + SIGTERM);
        QCOMPARE(kept.size(), 1);  // the list's, written before the question
        QCOMPARE(dialogs.saveQuestions, 1);
        QDir(formTolvane::recoveryFolder()).removeRecursively();
    }

    void recentFilesPutTheLatestFirstAndKeepEight()
    {
        DataFolder data;
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 1; i <= 10; ++i)
            paths << writeFile(dir, QString("shop%1.txt").arg(i), "1 1 1 1 1 1 1\r\n");
        {
            Window w(data);
            QVERIFY(w.get<QAction>("mnuRecentNone")->isVisible());
            QVERIFY(!w.get<QAction>("mnuRecentNone")->isEnabled());
            w.form().openFile(paths[0]);
            w.form().openFile(paths[1]);
            QCOMPARE(recentPaths(w), QStringList({paths[1], paths[0]}));
            w.form().openFile(paths[0]);  // opened again: back to the top, not twice
            QCOMPARE(recentPaths(w), QStringList({paths[0], paths[1]}));
            QCOMPARE(w.get<QAction>("mnuRecent1")->text(), "&1 " + QDir::toNativeSeparators(paths[0]));
            w.dialogs.nextSave = paths[2];
            w.trigger("mnuSaveAs");  // a file saved counts too
            QCOMPARE(recentPaths(w), QStringList({paths[2], paths[0], paths[1]}));
            w.form().openFile(dir.filePath("shop-missing.txt"));  // a failed open does not
            QCOMPARE(recentPaths(w).size(), 3);
            for (int i = 3; i < 10; ++i)
                w.form().openFile(paths[i]);
            const QStringList expected = {paths[9], paths[8], paths[7], paths[6],
                                          paths[5], paths[4], paths[3], paths[2]};
            QCOMPARE(recentPaths(w), expected);
            QVERIFY(!w.form().findChild<QAction*>("mnuRecent9"));
        }
        // Kept for the next start.
        Window again(data);
        QCOMPARE(recentPaths(again).size(), 8);
        QCOMPARE(recentPaths(again).front(), paths[9]);
        again.trigger("mnuRecentClear");
        QVERIFY(recentPaths(again).isEmpty());
        QVERIFY(again.get<QAction>("mnuRecentNone"));
    }

    void choosingARecentFileOpensItAfterTheQuestion()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString first = writeFile(dir, "shop1.txt", "14 3 0 255 0 0 0 //Potion\r\n");
        const QString second = writeFile(dir, "EventItemBag2.txt", "14 11 0 0 0 0 //box\r\n");
        w.form().openFile(first);
        w.form().openFile(second);
        w.trigger("mnuBlank");  // an unsaved change
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        w.trigger("mnuRecent2");
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QCOMPARE(w.form().caption(), QString("Vaultsmith - EventItemBag2.txt"));  // cancelled: nothing opened
        w.dialogs.saveAnswer = SaveAnswer::Discard;
        w.trigger("mnuRecent2");
        QCOMPARE(w.form().caption(), QString("Vaultsmith - shop1.txt"));
        QCOMPARE(texts(shopList(w)), QStringList({"14,3,0,255,0,0,0,Potion"}));
        QCOMPARE(recentPaths(w), QStringList({first, second}));
    }

    void aRecentFileThatIsGoneIsTakenOffTheList()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString kept = writeFile(dir, "shop1.txt", "1 1 1 1 1 1 1\r\n");
        const QString gone = writeFile(dir, "shop2.txt", "2 2 2 2 2 2 2\r\n");
        w.form().openFile(gone);
        w.form().openFile(kept);
        w.trigger("mnuBlank");  // unsaved: a missing file asks nothing
        QVERIFY(QFile::remove(gone));
        w.trigger("mnuRecent2");
        QCOMPARE(w.status(), QString("Open> File \"shop2.txt\" not found; it was taken off the recent files."));
        QCOMPARE(w.statusColor(), QColor(255, 255, 0));
        QCOMPARE(w.dialogs.saveQuestions, 0);
        QCOMPARE(recentPaths(w), QStringList({kept}));
        QCOMPARE(w.form().caption(), QString("Vaultsmith - shop1.txt"));
        QCOMPARE(shopList(w)->count(), 2);  // the list is untouched
    }

    void aDroppedFileIsOpened()
    {
        DataFolder data;
        Window w(data);
        QTemporaryDir dir;
        const QString shop = writeFile(dir, "shop3.txt", "0 3 0 40 0 0 0 //Katana\r\n");
        const QString bag = writeFile(dir, "ItemBag4.txt", "14 11 0 0 0 0 //box\r\n");
        auto list = shopList(w);
        QVERIFY(dropOn(list->viewport(), shop));
        QCOMPARE(texts(list), QStringList({"0,3,0,40,0,0,0,Katana"}));
        QCOMPARE(w.status(), QString("Open> File Opened: shop3.txt (layout: shop, 7 columns, Type Index Level Durab Skill Luck Option)"));
        QCOMPARE(recentPaths(w).front(), shop);

        // Onto a text box the file is opened, not pasted as text.
        const QString comment = w.comment();
        QVERIFY(dropOn(w.box("txtShopComment"), bag));
        QCOMPARE(w.form().caption(), QString("Vaultsmith - ItemBag4.txt"));
        QCOMPARE(w.comment(), comment);

        // Unsaved changes are asked about; Cancel keeps the list.
        w.trigger("mnuBlank");
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        QVERIFY(dropOn(w.get<QWidget>("frmBanner"), shop));
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QCOMPARE(w.form().caption(), QString("Vaultsmith - ItemBag4.txt"));

        // A file that is neither kind is refused with the Open message, without a question.
        const QString other = writeFile(dir, "notes.txt", "hello\r\n");
        QVERIFY(dropOn(list->viewport(), other));
        QCOMPARE(w.status(), QString("Open> \"notes.txt\" is invalid."));
        QCOMPARE(w.dialogs.saveQuestions, 1);
        QCOMPARE(list->count(), 2);

        // A drag without a local file is not taken.
        QMimeData text;
        text.setText("shop3.txt");
        QVERIFY(!dropOn(list->viewport(), text));
        QMimeData remote;
        remote.setUrls({QUrl("https://example.org/shop3.txt")});
        QVERIFY(!dropOn(list->viewport(), remote));
        QCOMPARE(list->count(), 2);
    }

    void theWindowComesBackWhereItWasButInItsDesignedSize()
    {
        DataFolder data;
        QSize designed;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint place = screen.topLeft() + QPoint(37, 23);
        {
            Window w(data);
            designed = w.form().size();
            w.form().move(place);
            w.form().resize(designed + QSize(120, 80));
            QVERIFY(w.form().close());
        }
        {
            Window w(data);
            QCOMPARE(w.form().pos(), place);
            QCOMPARE(w.form().size(), designed);
            // A place no screen shows (a monitor since unplugged) is not used.
            w.form().move(screen.bottomRight() + QPoint(500, 500));
            QVERIFY(w.form().close());
        }
        Window w(data);
        QVERIFY(screen.contains(w.form().pos()));
        // A window whose closing was cancelled keeps nothing.
        w.form().move(place + QPoint(10, 10));
        w.trigger("mnuBlank");
        w.dialogs.saveAnswer = SaveAnswer::Cancel;
        QVERIFY(!w.form().close());
        QVERIFY(settings().value("window/position").toPoint() != place + QPoint(10, 10));
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
