// File > Recent Files, files dropped on the window, and the window's place on the screen.
#include "document/file_kind.h"
#include "window/form_tolvane.h"
#include "window/settings.h"
#include "window/text_bytes.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <algorithm>

namespace vs {

namespace {

const char* const kRecentKey = "recentFiles";
const char* const kPositionKey = "window/position";
constexpr int kRecentCount = 8;

QStringList recentFiles()
{
    QStringList files = settings().value(kRecentKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kRecentCount);
}

void keepRecentFiles(const QStringList& files)
{
    settings().setValue(kRecentKey, files.mid(0, kRecentCount));
}

// The first local file a drag carries, or an empty string.
QString draggedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

}  // namespace

void formTolvane::rememberRecentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    keepRecentFiles(files);
    fillRecentMenu();
}

void formTolvane::fillRecentMenu()
{
    if (!mnuRecent)
        return;
    mnuRecent->clear();
    const QStringList files = recentFiles();
    if (files.isEmpty()) {
        QAction* none = mnuRecent->addAction("No Recent Files");
        none->setObjectName("mnuRecentNone");
        none->setEnabled(false);
        return;
    }
    const QFontMetrics metrics(mnuRecent->font());
    for (int i = 0; i < files.size(); ++i) {
        const QString shown = metrics.elidedText(QDir::toNativeSeparators(files[i]), Qt::ElideMiddle, 480);
        const QString caption = QString("&%1 %2").arg(QString::number(i + 1), QString(shown).replace("&", "&&"));
        QAction* action = mnuRecent->addAction(caption);
        action->setObjectName(QString("mnuRecent%1").arg(i + 1));
        action->setData(files[i]);
        action->setStatusTip(files[i]);
        action->setToolTip(files[i]);
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    mnuRecent->addSeparator();
    QAction* clear = mnuRecent->addAction("Clear List");
    clear->setObjectName("mnuRecentClear");
    connect(clear, &QAction::triggered, this, [this] { mnuRecentClear_Click(); });
}

void formTolvane::openRecentFile(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        QStringList files = recentFiles();
        files.removeAll(path);
        keepRecentFiles(files);
        fillRecentMenu();
        tellUser(StatusColor::Yellow,
                 "Open> File \"" + QFileInfo(path).fileName() + "\" not found; it was taken off the recent files.");
        return;
    }
    if (!maySetListAside())
        return;
    openFile(path);
}

void formTolvane::mnuRecentClear_Click()
{
    keepRecentFiles({});
    fillRecentMenu();
    tellUser(StatusColor::White, QString("Recent Files> The list was cleared."));
}

void formTolvane::openDroppedFile(const QString& path)
{
    // A name that is neither a shop nor an item-bag file is refused before
    // anything is asked; openFile says why.
    if (editModeForFileName(toBytes(QFileInfo(path).fileName())) && !maySetListAside())
        return;
    openFile(path);
}

bool formTolvane::takeFileDrop(QDropEvent* event)
{
    const QString path = draggedFile(event->mimeData());
    if (path.isEmpty())
        return false;
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        openDroppedFile(path);
    return true;
}

void formTolvane::dragEnterEvent(QDragEnterEvent* event)
{
    if (!takeFileDrop(event))
        QMainWindow::dragEnterEvent(event);
}

void formTolvane::dragMoveEvent(QDragMoveEvent* event)
{
    if (!takeFileDrop(event))
        QMainWindow::dragMoveEvent(event);
}

void formTolvane::dropEvent(QDropEvent* event)
{
    if (!takeFileDrop(event))
        QMainWindow::dropEvent(event);
}

void formTolvane::savePosition()
{
    settings().setValue(kPositionKey, pos());
}

void formTolvane::restorePosition()
{
    // Only the place is kept: the size is the designed one. A place that no
    // screen shows any more (a monitor was unplugged) is forgotten.
    const QVariant saved = settings().value(kPositionKey);
    if (saved.typeId() != QMetaType::QPoint)
        return;
    const QPoint at = saved.toPoint();
    const QRect titleBar(at, QSize(std::min(width(), 200), 24));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(titleBar);
        if (seen.width() >= std::min(width(), 64) && seen.height() >= 8) {
            move(at);
            return;
        }
    }
}

}  // namespace vs
