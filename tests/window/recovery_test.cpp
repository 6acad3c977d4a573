// Unsaved work survives the program being killed: a run edits a list and a
// storage and is killed; the next run restores both, and Save writes what the
// killed run's Save would have written. The killed run is this test program
// started again with --child.
#include "storage/storage.h"
#include "document/list_writer.h"
#include "document/recovery.h"
#include "window/form_storage.h"
#include "window/quit_signals.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <cstdio>

using namespace vs;
using namespace vs::test;

namespace {

// A warehouse in hex digits with a Katana (1 x 4) in slot 0.
QByteArray warehouseWithKatana()
{
    QByteArray digits = "03001400000000000000";
    while (digits.size() < 120 * 20)
        digits += QByteArray(20, 'F');
    return digits;
}

int recoveryCount()
{
    return QDir(formTolvane::recoveryFolder()).entryList({"*.recovery"}).size();
}

void writeBytes(const QString& path, const std::string& bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
}

// The killed run: opens the list (and in "kill" mode the storage), edits
// them, writes what Save would write of each into the folder `expected`,
// says "ready" once its recovery files are there and waits for its end. Its
// unsaved-changes question takes its time, as a person does.
int runChild(QApplication& app, const QStringList& args)
{
    struct SlowDialogs : RecordingDialogs {
        SaveAnswer askSaveChanges(QWidget* parent, const QString& title, const QString& text) override
        {
            QTest::qWait(20000);
            return RecordingDialogs::askSaveChanges(parent, title, text);
        }
    };
    const QString mode = args.value(2), data = args.value(3), list = args.value(4), storagePath = args.value(5),
                  expected = args.value(6);
    SlowDialogs dialogs;
    formTolvane window(dialogs);
    if (!window.Form_Load(data.toStdString()))
        return 2;
    window.show();
    window.recoveryDelay = 50;
    window.openFile(list);
    shopList(window)->setCurrentRow(1);
    window.findChild<QCheckBox*>("checkSkill")->click();
    window.mnuBlank_Click();
    int documents = 1;
    if (mode == "kill") {
        formStorage* storage = window.openStorage(storagePath);
        if (!storage)
            return 3;
        storage->chooseSlot(0);
        storage->deleteSelected();
        writeBytes(expected + "/storage", writeStorage(storage->storage()));
        documents = 2;
    }
    writeBytes(expected + "/list", writeListFile(window.listEntries(), window.layout(), window.source()));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (recoveryCount() == documents) {
            poll.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    const QuitSignals quit([&window](int signal) { window.quitSignal(signal); });
    return app.exec();
}

// Starts the child run and waits for its "ready".
bool startChild(QProcess& child, const QString& mode, const DataFolder& data, const QString& list,
                const QString& storage, const QString& expected)
{
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({"--child", mode, QString::fromStdString(data.path().string()), list, storage, expected});
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    QByteArray said;
    while (!said.contains("ready") && child.waitForReadyRead(20000))
        said += child.readAllStandardOutput();
    return said.contains("ready");
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QDir(formTolvane::recoveryFolder()).removeRecursively(); }

    void aKilledRunsListAndStorageAreRestoredAndSavedAsTheyWouldHaveBeen()
    {
        DataFolder data;
        QTemporaryDir dir;
        const QByteArray listBytes = "// goods\r\n0 3 0 40 0 0 0 //Katana\r\n1 1 0 19 0 0 0 //Axe\r\nend\r\n";
        const QString list = writeFile(dir, "shop1.txt", listBytes);
        const QString storage = writeFile(dir, "warehouse.txt", warehouseWithKatana());
        QProcess child;
        QVERIFY(startChild(child, "kill", data, list, storage, dir.path()));
        QCOMPARE(recoveryCount(), 2);
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(readFile(list), listBytes);  // nothing was saved

        Window w(data);
        w.dialogs.recoveryAnswer = RecoveryAnswer::Restore;
        w.form().offerRecoveries();
        QCOMPARE(w.dialogs.recoveryOffers.size(), 2);
        QVERIFY2(w.dialogs.recoveryOffers.join('\n').contains("shop1.txt"), qPrintable(w.dialogs.recoveryOffers.join('\n')));
        QCOMPARE(w.form().currFile, list);
        QVERIFY(w.form().isWindowModified());
        formStorage* restored = w.form().findChild<formStorage*>();
        QVERIFY(restored && restored->isModified());
        QCOMPARE(restored->filePath(), storage);

        w.trigger("mnuSave");
        QCOMPARE(readFile(list), readFile(dir.filePath("list")));
        QVERIFY(restored->save());
        QCOMPARE(readFile(storage), readFile(dir.filePath("storage")));
        QTest::qWait(20);  // a window's history says it is clean once the event loop runs
        QCOMPARE(recoveryCount(), 0);
    }

    void twoQuitSignalsLeaveARecoveryTheNextRunOffers()
    {
        DataFolder data;
        QTemporaryDir dir;
        const QString list = writeFile(dir, "shop2.txt", "0 3 0 40 0 0 0 //Katana\r\n1 1 0 19 0 0 0 //Axe\r\nend\r\n");
        QProcess child;
        QVERIFY(startChild(child, "signals", data, list, QString(), dir.path()));
        ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
        QTest::qWait(300);  // the question is up
        QCOMPARE(child.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitCode(), 128 + SIGTERM);
        QCOMPARE(recoveryCount(), 1);

        // Kept for later, then discarded: nothing is left.
        Window w(data);
        w.form().offerRecoveries();
        QCOMPARE(w.dialogs.recoveryOffers.size(), 1);
        QCOMPARE(recoveryCount(), 1);
        w.form().offerRecoveries();
        QCOMPARE(w.dialogs.recoveryOffers.size(), 1);  // not asked twice in a run
        Window second(data);
        second.dialogs.recoveryAnswer = RecoveryAnswer::Discard;
        second.form().offerRecoveries();
        QCOMPARE(second.dialogs.recoveryOffers.size(), 1);
        QCOMPARE(recoveryCount(), 0);
    }

    void anOpenedFileWithANewerRecoveryIsOfferedAndDiscardOrSaveLeaveNone()
    {
        DataFolder data;
        QTemporaryDir dir;
        const QString list = writeFile(dir, "shop3.txt", "0 3 0 40 0 0 0 //Katana\r\nend\r\n");
        {
            Window w(data);
            w.form().openFile(list);
            shopList(w)->setCurrentRow(0);
            w.click(w.check("checkSkill"));
            w.form().writeRecoveries();
            QCOMPARE(recoveryCount(), 1);
            // Saved: gone.
            w.trigger("mnuSave");
            QCOMPARE(recoveryCount(), 0);
            w.click(w.check("checkLuck"));
            w.form().writeRecoveries();
            QCOMPARE(recoveryCount(), 1);
            // The window goes without a word, as a killed run does: the recovery stays.
        }
        {
            Window w(data);
            w.dialogs.recoveryAnswer = RecoveryAnswer::Restore;
            w.form().openFile(list);
            QCOMPARE(w.dialogs.recoveryOffers.size(), 1);
            QCOMPARE(shopList(w)->item(0)->text().left(14), QString("0,3,0,40,1,1,0"));
            // Exit with Discard: nothing is left.
            w.dialogs.saveAnswer = SaveAnswer::Discard;
            w.trigger("mnuExit");
            QCOMPARE(recoveryCount(), 0);
        }
    }

    void aRecoveryThatCannotBeRenewedKeepsTheOldOne()
    {
        DataFolder data;
        QTemporaryDir dir;
        Window w(data);
        w.form().openFile(writeFile(dir, "shop4.txt", "0 3 0 40 0 0 0 //Katana\r\nend\r\n"));
        shopList(w)->setCurrentRow(0);
        w.click(w.check("checkSkill"));
        w.form().writeRecoveries();
        const QStringList files = QDir(formTolvane::recoveryFolder()).entryList({"*.recovery"});
        QCOMPARE(files.size(), 1);
        const QString kept = formTolvane::recoveryFolder() + "/" + files.front();
        const QByteArray before = readFile(kept);
        QVERIFY(QFile::setPermissions(kept, QFile::ReadOwner));
        w.click(w.check("checkLuck"));
        w.form().writeRecoveries();
        QVERIFY2(w.status().startsWith("Recovery> The unsaved changes cannot be kept"), qPrintable(w.status()));
        QCOMPARE(readFile(kept), before);
        QVERIFY(QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner));
    }

    void aRecoveryOfAnEndedRunWhoseNumberWasReusedIsOffered()
    {
        DataFolder data;
        Recovery recovery;
        recovery.pid = 1;  // a process that is no run of this program
        recovery.writtenAtMs = 1;
        recovery.layout = "shop-7";
        recovery.entries.push_back(ListEntry("// kept", kCommentEntry));
        QDir().mkpath(formTolvane::recoveryFolder());
        QFile file(formTolvane::recoveryFolder() + "/list-1.recovery");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(encodeRecovery(recovery)));
        file.close();
        Window w(data);
        w.dialogs.recoveryAnswer = RecoveryAnswer::Restore;
        w.form().offerRecoveries();
        QCOMPARE(w.dialogs.recoveryOffers.size(), 1);
        QCOMPARE(texts(shopList(w)), QStringList({"// kept"}));
    }

    void anOpenedStorageWithANewerRecoveryIsOfferedIntoItsWindow()
    {
        DataFolder data;
        QTemporaryDir dir;
        const QString path = writeFile(dir, "warehouse.txt", warehouseWithKatana());
        {
            Window w(data);
            formStorage* storage = w.form().openStorage(path);
            QVERIFY(storage);
            storage->chooseSlot(0);
            storage->deleteSelected();
            w.form().writeRecoveries();
            QCOMPARE(recoveryCount(), 1);
        }
        Window w(data);
        w.dialogs.recoveryAnswer = RecoveryAnswer::Restore;
        formStorage* storage = w.form().openStorage(path);
        QCOMPARE(w.dialogs.recoveryOffers.size(), 1);
        QCOMPARE(w.form().findChildren<formStorage*>().size(), 1);
        QVERIFY(storage->isModified());
        QVERIFY(isEmptySlot(storage->storage().contents[0]));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == "--child")
        return runChild(app, args);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recovery_test.moc"
