// File > Open, Save, Save as... and Exit.
#include "catalog/file_io.h"
#include "catalog/startup_message.h"
#include "catalog/vault_error.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <system_error>

namespace vs {

namespace {

const char* const kFilter = "Text Files (*.txt);;All (*)";

// The first row holding a character that a single-byte file cannot store.
int firstUnstorableRow(const QListWidget* list)
{
    for (int r = 0; r < list->count(); ++r)
        for (QChar c : list->item(r)->text())
            if (c.unicode() > 0xFF)
                return r;
    return -1;
}

}  // namespace

void formTolvane::setCaption(const QString& fileName)
{
    setWindowTitle(fromBytes(kAppTitle) + " - " + fileName);
}

void formTolvane::mnuOpen_Click()
{
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
        tellUser(StatusColor::Yellow, fromBytes(openRefusalMessage(toBytes(name))));
        return;
    }
    editMode_ = static_cast<int16_t>(*mode);
    checkLuck->setText(fromBytes(luckCaption(editMode_)));

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
    const EntryList read = readListFile(bytes, editMode_);

    currFile = path;
    mnuSave->setEnabled(true);
    setCaption(name);
    tellUser(StatusColor::Green, "Open> File Opened: " + name);
    {
        const QSignalBlocker quiet(lstShop);
        lstShop->clear();
        for (const ListEntry& entry : read) {
            auto* row = new QListWidgetItem(fromBytes(entry.text), lstShop);
            row->setData(Qt::UserRole, entry.kind);
        }
        lstShop->setCurrentRow(-1);
    }
}

bool formTolvane::bagIsBoK() const
{
    return vs::bagIsBoK(entries());
}

void formTolvane::saveFile(const QString& filename)
{
    if (filename.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Save> No file specified."));
        return;
    }
    if (const int row = firstUnstorableRow(lstShop); row >= 0) {
        tellUser(StatusColor::Yellow, QString("Save> Row %1 holds characters a shop or item-bag file cannot store; "
                                              "nothing was written.")
                                          .arg(row + 1));
        return;
    }
    try {
        writeFileAtomically(filename.toStdString(), writeListFile(entries(), editMode_));
    } catch (const std::system_error& e) {
        tellUser(StatusColor::Yellow,
                 QString("Save> %1: %2").arg(e.code().value()).arg(QString::fromLocal8Bit(e.code().message())));
        return;
    }
    tellUser(StatusColor::Green, "Save> File Saved: " + QFileInfo(filename).fileName());
}

void formTolvane::mnuSave_Click()
{
    saveFile(currFile);
}

void formTolvane::mnuSaveAs_Click()
{
    const QString path = dialogs_.saveFileName(this, "Save Shop File", kFilter, "txt");
    if (path.isEmpty()) {
        tellUser(StatusColor::Yellow, QString("Save> File Save was cancelled."));
        return;
    }
    saveFile(path);
}

void formTolvane::mnuExit_Click()
{
    close();
    QApplication::quit();
}

}  // namespace vs
