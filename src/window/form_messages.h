#pragma once

#include "code_manager/code_man_view.h"

#include <QAbstractListModel>
#include <QColor>
#include <QDateTime>
#include <QWidget>
#include <deque>

class QListView;

namespace vs {

// The colour the status line shows a message in (on its dark teal ground).
QColor statusRgb(StatusColor color);

// Every status message of the run, oldest first: the time it was said, its
// colour, its text and, for a storage window's message, that window's name.
// Only the latest kCapacity messages are kept, so that a long session or the
// thousands of messages of an Update All cannot make the log grow without
// bound; the oldest go first. Adding a message inserts one row (and at the cap
// drops one): nothing is rebuilt, and rows are formatted only when shown.
class MessageLog : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kCapacity = 10000;
    enum Role {
        ColorRole = Qt::UserRole,  // QColor, as the status line showed it
        TimeRole,                  // QDateTime
        TextRole,                  // the message as said, without time or source
        SourceRole,                // the storage window's name, empty for the main window
    };

    explicit MessageLog(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void add(StatusColor color, const QString& text, const QString& source = QString());
    void clear();
    // The rows as lines of plain text: the time, a tab, the message (after its source in brackets).
    QString plainText(const QList<int>& rows) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Message {
        QDateTime time;
        StatusColor color;
        QString text;
        QString source;
    };
    // The message after its source in brackets, as the row and a copied line show it.
    static QString sourcedText(const Message& message);

    std::deque<Message> messages_;
};

// View > Messages: the log in a modeless tool window, newest at the bottom. It
// follows new messages while it is scrolled to the bottom. Ctrl+C and the
// context menu copy the chosen rows, Copy All every row, Clear empties the log.
class formMessages : public QWidget {
    Q_OBJECT
public:
    formMessages(MessageLog& log, QWidget* parent);

    void copySelected() const;
    void copyAll() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    MessageLog& log_;
    QListView* lstMessages = nullptr;
    bool followPending_ = false;
};

}  // namespace vs
