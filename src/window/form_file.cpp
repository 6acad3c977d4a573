// File > Open, Save, Save as..., Encoding and Exit.
#include "catalog/file_io.h"
#include "catalog/startup_message.h"
#include "catalog/text_utils.h"
#include "catalog/vault_error.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "window/form_tolvane.h"
#include "window/entry_list_model.h"
#include "window/code_page_text.h"
#include "window/settings.h"
#include "window/text_bytes.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QSignalBlocker>
#include <QUndoStack>
#include <system_error>

namespace vs {

namespace {

const char* const kFilter = "Text Files (*.txt);;All (*)";
const char* const kEncodingKey = "encoding";
const char* const kBackupKey = "backupAtFirstSave";
const char* const kStandardKeysKey = "standardKeysInTextBoxes";

}  // namespace

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vaultsmith", "Vaultsmith");
}

TextEncoding savedEncoding()
{
    const QString id = settings().value(kEncodingKey).toString();
    return TextEncoding::byName(id.toStdString()).value_or(TextEncoding::defaultCodePage());
}

void formTolvane::setCaption(const QString& fileName)
{
    setWindowTitle(fromBytes(kAppTitle) + " - " + fileName + "[*]");
}

void formTolvane::mnuOpen_Click()
{
    if (!maySetListAside())
        return;
    const QString path = dialogs_.openFileName(this, "Load Shop File", kFilter);
    if (path.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Open> File Open was cancelled."));
        return;
    }
    openFile(path);
}

void formTolvane::openFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const std::optional<int> mode = editModeForFileName(toBytes(name));
    if (!mode) {
        tellUser(StatusColor::Yellow, "Open> \"" + name + "\" is invalid.");
        return;
    }
    // The document takes the file's kind only once the file is read: a failed
    // Open that left the old list under the other kind would have the next Save
    // write its item lines with the wrong number of fields.
    const QFileInfo info(path);
    if (!info.exists()) {
        tellUser(StatusColor::Yellow, "Open> File \"" + name + "\" not found.");
        return;
    }
    std::string bytes;
    try {
        bytes = readFileBytes(path.toStdString());
    } catch (const VaultError& e) {
        // A file that exists but cannot be read is not a cancelled dialog: say why.
        const std::string& detail = e.detail();
        const size_t colon = detail.rfind(": ");
        const QString reason = info.isDir()                 ? QString("it is a folder")
                               : colon == std::string::npos ? QString("it is not a regular file")
                                                            : QString::fromLocal8Bit(detail.substr(colon + 2).c_str());
        tellUser(StatusColor::Yellow, "Open> File \"" + name + "\" cannot be read: " + reason + ".");
        return;
    }
    // The layout the user chose for this file, or the one its lines show.
    const FileLayout& layout = forcedLayout_ ? *forcedLayout_ : detectLayout(bytes, *mode, &newDocumentLayout(*mode));
    const std::string notText = notTextReason(bytes);
    docEncoding_ = shownEncoding(bytes, chosenEncoding_);
    ListFile read = readListFile(std::move(bytes), layout);
    applyLayout(layout);

    currFile = path;
    mnuSave->setEnabled(true);
    setCaption(name);
    const QString layoutText = " (layout: " + QString::fromLatin1(layout.label.data(), int(layout.label.size())) +
                               ", " + QString::fromStdString(layout.columnNames()) + ")";
    if (!notText.empty())
        tellUser(StatusColor::Yellow, "Open> \"" + name + "\" is not a text file: " + QString::fromStdString(notText) +
                                          "; its bytes are kept as they are." +
                                          layoutText);
    else
        tellUser(StatusColor::Green, "Open> File Opened: " + name + layoutText);
    rememberRecentFile(path);
    showEntries(std::move(read.entries), std::move(read.source));  // a new document: nothing to undo, nothing unsaved
    offerRecoveryFor(path);  // unsaved changes to this file that a killed run kept
}

void formTolvane::showEntries(EntryList list, std::shared_ptr<const SourceText> source)
{
    undoStack_->clear();  // its steps name rows of the document that goes
    listModel_->setEncoding(docEncoding_);
    document_.reset(std::move(list), std::move(source), layout());
    dropSelectionQuietly();
}

bool formTolvane::bagIsBoK() const
{
    return vs::bagIsBoK(entries());
}

bool formTolvane::saveFile(const QString& filename)
{
    if (filename.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Save> No file specified."));
        return false;
    }
    if (const long row = firstRowWithLineBreak(entries()); row >= 0) {
        tellUser(StatusColor::Yellow,
                 QString("Save> Row %1 holds a line break, which no line of the file can hold; nothing was written.")
                     .arg(row + 1));
        return false;
    }
    if (!keepBackupBeforeSave(filename, "Save"))
        return false;
    try {
        writeFileAtomically(filename.toStdString(), document_.fileBytes());
    } catch (const std::system_error& e) {
        tellUser(StatusColor::Yellow,
                 QString("Save> %1: %2").arg(e.code().value()).arg(QString::fromLocal8Bit(e.code().message())));
        return false;
    }
    undoStack_->setClean();
    tellUser(StatusColor::Green, "Save> File Saved: " + QFileInfo(filename).fileName());
    rememberRecentFile(filename);
    return true;
}

bool formTolvane::backupsWanted()
{
    return settings().value(kBackupKey, true).toBool();
}

bool formTolvane::standardKeysWanted()
{
    return settings().value(kStandardKeysKey, false).toBool();
}

bool formTolvane::keepBackupBeforeSave(const QString& path, const QString& command)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!backupsWanted() || backedUp_.contains(absolute))
        return true;
    try {
        if (keepBackupCopy(QFile::encodeName(absolute).toStdString()))
            backedUp_ << absolute;
    } catch (const std::system_error& e) {
        tellUser(StatusColor::Yellow, command + "> " + QFileInfo(path).fileName() + " cannot be kept as " +
                                          QFileInfo(path).fileName() + ".bak: " +
                                          QString::fromLocal8Bit(e.code().message()) + "; nothing was written.");
        return false;
    }
    return true;
}

void formTolvane::buildSettingsMenuItems(QMenu* file, QMenu* edit)
{
    QAction* backup = file->addAction("Keep a Backup at First Save");
    backup->setObjectName("mnuBackup");
    backup->setCheckable(true);
    backup->setChecked(backupsWanted());
    connect(backup, &QAction::toggled, this, [](bool on) { settings().setValue(kBackupKey, on); });
    QAction* keys = edit->addAction("Standard Keys in Text Boxes");
    keys->setObjectName("mnuStandardKeys");
    keys->setCheckable(true);
    keys->setChecked(standardKeysWanted());
    connect(keys, &QAction::toggled, this, [](bool on) { settings().setValue(kStandardKeysKey, on); });
}

void formTolvane::mnuSave_Click()
{
    saveFile(currFile);
}

void formTolvane::mnuSaveAs_Click()
{
    const QString path = dialogs_.saveFileName(this, "Save Shop File", kFilter, "txt", currFile);
    if (path.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Save> File Save was cancelled."));
        return;
    }
    saveFile(path);
}

void formTolvane::mnuExit_Click()
{
    if (close())
        QApplication::quit();
}

void formTolvane::buildEncodingMenu(QMenu* file)
{
    mnuEncoding = file->addMenu("Encoding");
    mnuEncoding->setObjectName("mnuEncoding");
    auto* group = new QActionGroup(mnuEncoding);
    for (const TextEncoding& encoding : TextEncoding::offered()) {
        QAction* action = mnuEncoding->addAction(QString::fromStdString(encoding.label()));
        const QString id = QString::fromStdString(encoding.id());
        action->setObjectName("mnuEncoding_" + id);
        action->setData(id);
        action->setCheckable(true);
        action->setChecked(encoding == chosenEncoding_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, id] { chooseEncoding(id); });
    }
}

void formTolvane::chooseEncoding(const QString& id)
{
    const std::optional<TextEncoding> encoding = TextEncoding::byName(id.toStdString());
    // Only an open file is read again; a list without one keeps its rows.
    if (encoding && !(*encoding == chosenEncoding_) && (currFile.isEmpty() || maySetListAside())) {
        chosenEncoding_ = *encoding;
        settings().setValue(kEncodingKey, id);
        catalogEncoding_ = namesEncoding(*catalog_, chosenEncoding_);
        relabelCatalogNames();
        if (!currFile.isEmpty()) {
            openFile(currFile);  // read again, shown in the new code page
        } else {
            docEncoding_ = chosenEncoding_;
            listModel_->setEncoding(docEncoding_);
        }
        tellUser(StatusColor::White,
                 "Encoding> Texts are shown in " + QString::fromStdString(chosenEncoding_.label()) + ".");
    }
    // The menu shows the encoding in use, also when the change was cancelled.
    for (QAction* action : mnuEncoding->actions())
        action->setChecked(action->data().toString().toStdString() == chosenEncoding_.id());
}

QString formTolvane::documentText(std::string_view bytes) const
{
    return shownText(bytes, docEncoding_);
}

std::string formTolvane::documentBytes(const QString& text) const
{
    return storedBytes(text, docEncoding_);
}

QString formTolvane::catalogText(std::string_view bytes) const
{
    return shownText(bytes, catalogEncoding_);
}

std::string formTolvane::catalogBytes(const QString& text) const
{
    return storedBytes(text, catalogEncoding_);
}

}  // namespace vs
