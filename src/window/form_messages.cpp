#include "window/form_messages.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace vs {

namespace {

const char* const kTimeFormat = "HH:mm:ss";

}  // namespace

QColor statusRgb(StatusColor color)
{
    switch (color) {
    case StatusColor::Yellow:
        return QColor(255, 255, 0);
    case StatusColor::Green:
        return QColor(0, 255, 0);
    case StatusColor::White:
        break;
    }
    return QColor(255, 255, 255);
}

void MessageLog::add(StatusColor color, const QString& text, const QString& source)
{
    if (messages_.size() >= static_cast<size_t>(kCapacity)) {
        beginRemoveRows(QModelIndex(), 0, 0);
        messages_.pop_front();
        endRemoveRows();
    }
    const int row = static_cast<int>(messages_.size());
    beginInsertRows(QModelIndex(), row, row);
    messages_.push_back({QDateTime::currentDateTime(), color, text, source});
    endInsertRows();
}

void MessageLog::clear()
{
    beginResetModel();
    messages_.clear();
    endResetModel();
}

QString MessageLog::sourcedText(const Message& message)
{
    return message.source.isEmpty() ? message.text : "[" + message.source + "] " + message.text;
}

QString MessageLog::plainText(const QList<int>& rows) const
{
    QString text;
    for (int row : rows) {
        if (row < 0 || row >= rowCount())
            continue;
        const Message& message = messages_[static_cast<size_t>(row)];
        text += message.time.toString(kTimeFormat) + '\t' + sourcedText(message) + '\n';
    }
    return text;
}

int MessageLog::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(messages_.size());
}

QVariant MessageLog::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Message& message = messages_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return message.time.toString(kTimeFormat) + "  " + sourcedText(message);
    case Qt::ForegroundRole:
        return QBrush(statusRgb(message.color));
    case ColorRole:
        return statusRgb(message.color);
    case TimeRole:
        return message.time;
    case TextRole:
        return message.text;
    case SourceRole:
        return message.source;
    default:
        return {};
    }
}

formMessages::formMessages(MessageLog& log, QWidget* parent) : QWidget(parent, Qt::Tool), log_(log)
{
    setObjectName("formMessages");
    setWindowTitle("Messages");
    resize(640, 280);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    lstMessages = new QListView(this);
    lstMessages->setObjectName("lstMessages");
    lstMessages->setModel(&log_);
    lstMessages->setUniformItemSizes(true);  // thousands of rows lay out without measuring each
    lstMessages->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstMessages->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The status line's colours, on its dark teal ground.
    QPalette p = lstMessages->palette();
    p.setColor(QPalette::Base, QColor(0, 64, 64));
    p.setColor(QPalette::Text, Qt::white);
    lstMessages->setPalette(p);
    lstMessages->installEventFilter(this);
    layout->addWidget(lstMessages);

    const auto item = [this](const char* name, const char* caption, auto handler) {
        auto* action = new QAction(caption, lstMessages);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        lstMessages->addAction(action);
        return action;
    };
    QAction* copy = item("mnuMessagesCopy", "Copy", [this] { copySelected(); });
    copy->setShortcut(QKeySequence::Copy);  // shown in the menu; the list takes the key itself (eventFilter)
    copy->setShortcutContext(Qt::WidgetShortcut);
    item("mnuMessagesCopyAll", "Copy All", [this] { copyAll(); });
    auto* separator = new QAction(lstMessages);
    separator->setSeparator(true);
    lstMessages->addAction(separator);
    item("mnuMessagesClear", "Clear", [this] { log_.clear(); });
    lstMessages->setContextMenuPolicy(Qt::ActionsContextMenu);

    // A new message scrolls the list to it when the list was at the bottom.
    // Once an event-loop turn: a burst of messages lays the list out once.
    connect(&log_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = lstMessages->verticalScrollBar();
        if (followPending_ || !isVisible() || bar->value() < bar->maximum())
            return;
        followPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                followPending_ = false;
                lstMessages->scrollToBottom();
            },
            Qt::QueuedConnection);
    });
}

void formMessages::copySelected() const
{
    QList<int> rows;
    for (const QModelIndex& index : lstMessages->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(log_.plainText(rows));
}

void formMessages::copyAll() const
{
    QList<int> rows;
    for (int row = 0; row < log_.rowCount(); ++row)
        rows << row;
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setText(log_.plainText(rows));
}

bool formMessages::eventFilter(QObject* watched, QEvent* event)
{
    // The main window's menu keys work in this tool window too, but Ctrl+C
    // (Comment Line there) and Ctrl+A (Save as...) are the list's own here:
    // copy the chosen rows, select every row.
    if (watched == lstMessages && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool copy = key->matches(QKeySequence::Copy);
        if (copy || key->matches(QKeySequence::SelectAll)) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            if (copy) {
                copySelected();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void formMessages::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    lstMessages->scrollToBottom();
}

}  // namespace vs
