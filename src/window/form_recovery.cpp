// Recovery of unsaved work: the recovery files, the offer at start-up and on
// Open, and the quit signals.
#include "catalog/file_io.h"
#include "catalog/startup_message.h"
#include "catalog/text_encoding.h"
#include "catalog/vault_error.h"
#include "storage/storage.h"
#include "document/file_layout.h"
#include "document/list_reader.h"
#include "document/recovery.h"
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/code_page_text.h"
#include "window/text_bytes.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <system_error>
#include <unistd.h>

namespace vs {

namespace {

// Another run of this program that is still going: its recoveries are its
// own. A process that merely got the number of an ended run is no such run.
bool runningElsewhere(int64_t pid)
{
    if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) != 0)
        return false;
    const QString program = QFileInfo("/proc/" + QString::number(pid) + "/exe").canonicalFilePath();
    return !program.isEmpty() && program == QFileInfo("/proc/self/exe").canonicalFilePath();
}

QString nativePath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string storedPath(const QString& path)
{
    return QFile::encodeName(path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath()).toStdString();
}

// The recovery files of the folder, oldest first, with what they hold.
std::vector<std::pair<QString, Recovery>> recoveryFiles(const QString& folder)
{
    std::vector<std::pair<QString, Recovery>> found;
    for (const QFileInfo& info : QDir(folder).entryInfoList({"*.recovery"}, QDir::Files)) {
        try {
            if (std::optional<Recovery> recovery = decodeRecovery(readFileBytes(QFile::encodeName(info.filePath()).toStdString())))
                found.emplace_back(info.filePath(), std::move(*recovery));
        } catch (const VaultError&) {
            // Unreadable: left alone.
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.second.writtenAtMs < b.second.writtenAtMs; });
    return found;
}

}  // namespace

QString formTolvane::recoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
}

void formTolvane::scheduleRecovery()
{
    if (!recoveryTimer_) {
        recoveryTimer_ = new QTimer(this);
        recoveryTimer_->setSingleShot(true);
        connect(recoveryTimer_, &QTimer::timeout, this, [this] { writeRecoveries(); });
    }
    recoveryTimer_->start(recoveryDelay);
}

void formTolvane::writeRecoveries()
{
    if (recoveryTimer_)
        recoveryTimer_->stop();
    const QString folder = recoveryFolder();
    QStringList current;
    auto keep = [&](const QString& name, const Recovery& recovery) {
        const QString file = folder + "/" + name;
        // What was kept before stays until a newer copy is written in its place.
        current << file;
        try {
            QDir().mkpath(folder);
            // The list is encoded straight from the document, not from a copy of it.
            const SourceText* source = recovery.kind == Recovery::Kind::List ? document_.source() : nullptr;
            writeFileAtomically(QFile::encodeName(file).toStdString(),
                                recovery.kind == Recovery::Kind::List
                                    ? encodeListRecovery(recovery, source ? std::string_view(source->bytes) : "",
                                                         entries())
                                    : encodeRecovery(recovery));
        } catch (const std::system_error& e) {
            tellUser(StatusColor::Yellow, "Recovery> The unsaved changes cannot be kept in " + folder + ": " +
                                              QString::fromLocal8Bit(e.code().message()) + ".");
        }
    };
    const int64_t now = QDateTime::currentMSecsSinceEpoch();
    const QString pid = QString::number(::getpid());
    if (undoStack_ && !undoStack_->isClean()) {
        Recovery list;
        list.writtenAtMs = now;
        list.pid = ::getpid();
        list.path = storedPath(currFile);
        list.layout = layout().name;
        list.encoding = docEncoding_.id();
        keep("list-" + pid + ".recovery", list);
    }
    for (formStorage* storage : findChildren<formStorage*>()) {
        if (!storage->isVisible() || !storage->isModified())
            continue;
        Recovery kept;
        kept.kind = Recovery::Kind::Storage;
        kept.writtenAtMs = now;
        kept.pid = ::getpid();
        kept.path = storedPath(storage->filePath());
        kept.storageKind = storageKindName(storage->storage().kind);
        kept.storageBytes = writeStorage(storage->storage());
        if (const std::optional<DatabaseBinding>& row = storage->databaseBinding()) {
            kept.databaseUrl = row->url;
            kept.databaseTable = row->table.table;
            kept.databaseKey = row->table.keyColumn;
            kept.databaseColumn = row->table.column;
            kept.databaseOwner = row->owner;
            kept.databaseOriginal = row->original;
        }
        keep("storage-" + pid + "-" + storage->property("recoveryId").toString() + ".recovery", kept);
    }
    for (const QString& old : recoveriesWritten_)
        if (!current.contains(old))
            QFile::remove(old);
    recoveriesWritten_ = current;
}

void formTolvane::removeRecoveries()
{
    if (recoveryTimer_)
        recoveryTimer_->stop();
    for (const QString& file : recoveriesWritten_)
        QFile::remove(file);
    recoveriesWritten_.clear();
}

bool formTolvane::offerRecovery(const QString& file, const Recovery& recovery)
{
    const QString path = nativePath(recovery.path);
    const QString what = recovery.kind == Recovery::Kind::List
                             ? (path.isEmpty() ? QString("the list") : QFileInfo(path).fileName())
                             : "the " + fromBytes(recovery.storageKind) +
                                   (!recovery.databaseUrl.empty()
                                        ? " of " + fromBytes(recovery.databaseOwner) + " in " +
                                              fromBytes(recovery.databaseUrl)
                                        : path.isEmpty() ? QString(" pasted") : " " + QFileInfo(path).fileName());
    const QString when = QDateTime::fromMSecsSinceEpoch(recovery.writtenAtMs).toString("yyyy-MM-dd HH:mm:ss");
    const RecoveryAnswer answer = dialogs_.askRecovery(
        this, "Recover Unsaved Changes",
        "Unsaved changes to " + what + " were kept at " + when +
            " by a run of the program that ended without saving them. Restore them, discard them, or keep them for later?");
    if (answer == RecoveryAnswer::Later) {
        recoveriesDeferred_ << file;
        return false;
    }
    if (answer == RecoveryAnswer::Discard) {
        QFile::remove(file);
        tellUser(StatusColor::White, "Recovery> The kept changes to " + what + " were discarded.");
        return false;
    }
    if (recovery.kind == Recovery::Kind::List) {
        if (!maySetListAside()) {
            recoveriesDeferred_ << file;
            return false;
        }
        restoreList(recovery);
    } else {
        Storage storage;
        try {
            const std::optional<StorageKind> kind =
                recovery.storageKind == "inventory" ? StorageKind::Inventory : StorageKind::Warehouse;
            storage = readStorage(recovery.storageBytes, kind);
        } catch (const StorageError& e) {
            tellUser(StatusColor::Yellow, "Recovery> The kept " + what + " is no storage: " + fromBytes(e.what()));
            recoveriesDeferred_ << file;
            return false;
        }
        // Into the window that has the file open, or a window of its own.
        formStorage* window = path.isEmpty() ? nullptr : storageWindowFor(path);
        if (window && window->storage().kind == storage.kind)
            window->restore(storage.contents, -1);
        else
            window = showStorage(std::move(storage), path);
        // Bound to its row again; the password is asked for when it is saved.
        if (!recovery.databaseUrl.empty())
            window->bindToDatabase({recovery.databaseUrl, std::string(),
                                    {recovery.databaseTable, recovery.databaseColumn, recovery.databaseKey},
                                    recovery.databaseOwner, recovery.databaseOriginal});
        window->history()->resetClean();  // unsaved, as it was
    }
    // The restored document is unsaved work of this run now: its recovery is ours.
    QFile::remove(file);
    writeRecoveries();
    tellUser(StatusColor::White, "Recovery> The unsaved changes to " + what + " of " + when +
                                     " are restored; Save keeps them.");
    return true;
}

void formTolvane::restoreList(const Recovery& recovery)
{
    const FileLayout* layout = layoutByName(recovery.layout);
    ListFile read = readListFile(recovery.source, layout ? *layout : specLayout(0));
    applyLayout(layout ? *layout : specLayout(0));
    docEncoding_ = TextEncoding::byName(recovery.encoding).value_or(chosenEncoding_);
    currFile = nativePath(recovery.path);
    mnuSave->setEnabled(!currFile.isEmpty());
    if (currFile.isEmpty())
        setWindowTitle(fromBytes(kAppTitle) + "[*]");
    else
        setCaption(QFileInfo(currFile).fileName());
    showEntries(recovery.entries, std::move(read.source));
    undoStack_->resetClean();  // unsaved changes, as they were
}

void formTolvane::offerRecoveries()
{
    for (const auto& [file, recovery] : recoveryFiles(recoveryFolder()))
        if (!runningElsewhere(recovery.pid) && !recoveriesWritten_.contains(file) && !recoveriesDeferred_.contains(file))
            offerRecovery(file, recovery);
}

void formTolvane::offerRecoveryFor(const QString& path)
{
    const std::string stored = storedPath(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    for (const auto& [file, recovery] : recoveryFiles(recoveryFolder()))
        if (recovery.path == stored && !runningElsewhere(recovery.pid) &&
            !recoveriesWritten_.contains(file) && !recoveriesDeferred_.contains(file) &&
            recovery.writtenAtMs > modified.toMSecsSinceEpoch()) {
            offerRecovery(file, recovery);
            return;
        }
}

void formTolvane::quitSignal(int signal)
{
    writeRecoveries();
    if (quitting_) {
        // The question is up already: the user wants the program gone.
        endNow(128 + signal);
        return;
    }
    quitting_ = true;
    mnuExit_Click();
    quitting_ = false;
}

}  // namespace vs
