#include "window/entry_list_model.h"

#include "document/list_writer.h"
#include "window/code_page_text.h"

#include <QApplication>
#include <QStyle>

namespace vs {

EntryListModel::EntryListModel(Document& document, QObject* parent)
    : QAbstractListModel(parent),
      document_(document),
      mark_(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
{
    document_.addListener(this);
}

EntryListModel::~EntryListModel()
{
    document_.removeListener(this);
}

void EntryListModel::setEncoding(const TextEncoding& encoding)
{
    encoding_ = encoding;
    if (document_.size() > 0)
        emit dataChanged(index(0), index(document_.size() - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

void EntryListModel::setFindings(std::vector<uint8_t> found)
{
    if (found.empty() && found_.empty())
        return;
    found_ = std::move(found);
    found_.resize(found_.empty() ? 0 : static_cast<size_t>(document_.size()));
    if (document_.size() > 0)
        emit dataChanged(index(0), index(document_.size() - 1), {Qt::DecorationRole});
}

int EntryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : document_.size();
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= document_.size())
        return {};
    const ListEntry& entry = document_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return shownText(entry.text, encoding_);
    case Qt::UserRole:
        return entry.kind;
    case Qt::ToolTipRole: {
        // What the line holds beyond the entry, as it is written back.
        const std::string rest = remainderText(entry.rest, ' ');
        if (rest.empty())
            return {};
        return "Also kept on this line: " + shownText(rest, encoding_).trimmed();
    }
    case Qt::DecorationRole:
        if (foundAt(index.row()) == kError)
            return mark_;
        return {};
    default:
        return {};
    }
}

void EntryListModel::aboutToChange(const DocumentChange& change)
{
    switch (change.kind) {
    case DocumentChange::Inserted:
        beginInsertRows({}, change.first, change.first + change.count - 1);
        break;
    case DocumentChange::Removed:
        beginRemoveRows({}, change.first, change.first + change.count - 1);
        break;
    case DocumentChange::Moved:
        // Qt names the row the moved one goes before, as the rows stand now.
        beginMoveRows({}, change.first, change.first, {}, change.to > change.first ? change.to + 1 : change.to);
        break;
    case DocumentChange::Reset:
        beginResetModel();
        break;
    case DocumentChange::Changed:
        break;
    }
}

void EntryListModel::changed(const DocumentChange& change)
{
    const auto at = [this](int row) { return found_.begin() + row; };
    switch (change.kind) {
    case DocumentChange::Inserted:
        if (!found_.empty())
            found_.insert(at(change.first), static_cast<size_t>(change.count), uint8_t(kNoFinding));
        endInsertRows();
        break;
    case DocumentChange::Removed:
        if (!found_.empty())
            found_.erase(at(change.first), at(change.first + change.count));
        endRemoveRows();
        break;
    case DocumentChange::Moved:
        if (!found_.empty()) {
            const uint8_t moved = found_[static_cast<size_t>(change.first)];
            found_.erase(at(change.first));
            found_.insert(at(change.to), moved);
        }
        endMoveRows();
        break;
    case DocumentChange::Reset:
        found_.clear();
        endResetModel();
        break;
    case DocumentChange::Changed:
        emit dataChanged(index(change.first), index(change.first + change.count - 1));
        break;
    }
}

}  // namespace vs
