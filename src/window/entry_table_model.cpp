#include "window/entry_table_model.h"

#include "catalog/token_value.h"
#include "codes/item_columns.h"
#include "document/list_writer.h"
#include "window/entry_list_model.h"
#include "window/form_tolvane.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <numeric>

namespace vs {

namespace {

// The rows in the order a column sorts them: item rows by the column's value
// (numbers as numbers, texts by their bytes), rows of other kinds after them
// in the file's order. Equal values keep the file's order.
std::vector<int> sortedRows(const Document& document, std::vector<int> rows, int column, int columns,
                            Qt::SortOrder order)
{
    const auto isItem = [&](int row) { return document.at(row).kind == kItemEntry; };
    const auto items = std::stable_partition(rows.begin(), rows.end(), isItem);
    const bool descending = order == Qt::DescendingOrder;
    if (column < columns) {
        std::vector<std::pair<double, int>> keys;
        keys.reserve(static_cast<size_t>(items - rows.begin()));
        for (auto it = rows.begin(); it != items; ++it)
            keys.emplace_back(tokenValue(entryColumn(document.at(*it).text, static_cast<size_t>(column))), *it);
        std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
            return descending ? b.first < a.first : a.first < b.first;
        });
        for (size_t i = 0; i < keys.size(); ++i)
            rows[i] = keys[i].second;
        return rows;
    }
    const auto text = [&](int row) -> std::string {
        const ListEntry& entry = document.at(row);
        return column == columns ? std::string(entryComment(entry.text, static_cast<size_t>(columns)))
                                 : remainderText(entry.rest, ' ');
    };
    std::vector<std::pair<std::string, int>> keys;
    for (auto it = rows.begin(); it != items; ++it)
        keys.emplace_back(text(*it), *it);
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
    });
    for (size_t i = 0; i < keys.size(); ++i)
        rows[i] = keys[i].second;
    return rows;
}

}  // namespace

EntryTableModel::EntryTableModel(formTolvane& main) : QAbstractTableModel(nullptr), main_(main), document_(main.document())
{
    document_.addListener(this);
}

EntryTableModel::~EntryTableModel()
{
    document_.removeListener(this);
}

int EntryTableModel::layoutColumns() const
{
    return static_cast<int>(main_.layout().items.count());
}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return arranged() ? static_cast<int>(order_.size()) : document_.size();
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : layoutColumns() + 2;
}

int EntryTableModel::documentRow(int tableRow) const
{
    if (tableRow < 0 || tableRow >= rowCount())
        return -1;
    return arranged() ? order_[static_cast<size_t>(tableRow)] : tableRow;
}

int EntryTableModel::tableRow(int documentRow) const
{
    if (documentRow < 0 || documentRow >= document_.size())
        return -1;
    return arranged() ? position_[static_cast<size_t>(documentRow)] : documentRow;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    const int row = documentRow(index.row());
    if (row < 0)
        return {};
    const ListEntry& entry = document_.at(row);
    const int columns = layoutColumns();
    const int column = index.column();
    const bool item = entry.kind == kItemEntry;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (column < columns)
            return item ? main_.documentText(entryColumn(entry.text, static_cast<size_t>(column))) : QVariant();
        if (column == columns)
            return main_.documentText(item ? entryComment(entry.text, static_cast<size_t>(columns))
                                           : std::string_view(entry.text));
        return main_.documentText(remainderText(entry.rest, ' '));
    }
    if (role == Qt::ForegroundRole && !item)
        return QBrush(QColor(110, 110, 110));
    if (role == Qt::BackgroundRole) {
        const int found = main_.foundAt(row);
        if (found == EntryListModel::kError)
            return QBrush(QColor(255, 215, 215));
        if (found == EntryListModel::kWarning)
            return QBrush(QColor(255, 245, 200));
    }
    if (role == Qt::TextAlignmentRole && column < columns)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical) {
        const int row = documentRow(section);
        return row < 0 ? QVariant() : QVariant(row + 1);
    }
    const int columns = layoutColumns();
    if (section < columns) {
        const std::string_view name = main_.layout().items.columns[static_cast<size_t>(section)].name;
        return QString::fromLatin1(name.data(), static_cast<int>(name.size()));
    }
    return section == columns ? QString("Comment") : QString("Also on the line");
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const int row = documentRow(index.row());
    if (row >= 0 && document_.at(row).kind == kItemEntry && index.column() <= layoutColumns())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = documentRow(index.row());
    if (role != Qt::EditRole || row < 0 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return main_.editEntryColumn(row, index.column(), value.toString());
}

void EntryTableModel::sort(int column, Qt::SortOrder order)
{
    if (column >= columnCount())
        return;
    beginResetModel();
    sortColumn_ = column;
    sortOrder_ = order;
    sortedColumns_ = layoutColumns();
    arrange();
    endResetModel();
}

void EntryTableModel::setFilter(const QString& text, bool withFindings)
{
    if (text == filter_ && withFindings == withFindings_)
        return;
    beginResetModel();
    filter_ = text;
    withFindings_ = withFindings;
    arrange();
    endResetModel();
}

void EntryTableModel::findingsChanged()
{
    if (withFindings_) {
        beginResetModel();
        arrange();
        endResetModel();
    } else if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
    }
}

bool EntryTableModel::shows(int row) const
{
    if (withFindings_ && main_.foundAt(row) == EntryListModel::kNoFinding)
        return false;
    if (filter_.isEmpty())
        return true;
    const ListEntry& entry = document_.at(row);
    return main_.documentText(entry.text).contains(filter_, Qt::CaseInsensitive) ||
           (!entry.rest.empty() &&
            main_.documentText(remainderText(entry.rest, ' ')).contains(filter_, Qt::CaseInsensitive));
}

void EntryTableModel::arrange()
{
    order_.clear();
    position_.clear();
    if (!arranged())
        return;
    for (int row = 0; row < document_.size(); ++row)
        if (shows(row))
            order_.push_back(row);
    if (sortColumn_ >= 0)
        order_ = sortedRows(document_, std::move(order_), sortColumn_, layoutColumns(), sortOrder_);
    placeRows();
}

void EntryTableModel::placeRows()
{
    position_.assign(static_cast<size_t>(document_.size()), -1);
    for (size_t shown = 0; shown < order_.size(); ++shown)
        position_[static_cast<size_t>(order_[shown])] = static_cast<int>(shown);
}

void EntryTableModel::aboutToChange(const DocumentChange& change)
{
    resetting_ = false;
    removedAt_ = -1;
    if (change.kind == DocumentChange::Reset) {
        resetting_ = true;
    } else if (!arranged()) {
        switch (change.kind) {
        case DocumentChange::Inserted:
            beginInsertRows({}, change.first, change.first + change.count - 1);
            break;
        case DocumentChange::Removed:
            beginRemoveRows({}, change.first, change.first + change.count - 1);
            break;
        case DocumentChange::Moved:
            beginMoveRows({}, change.first, change.first, {}, change.to > change.first ? change.to + 1 : change.to);
            break;
        default:
            break;
        }
        return;
    } else if (change.kind == DocumentChange::Inserted) {
        // New rows the filter takes come in at the end of a sorted table, until it is sorted again.
        resetting_ = true;
    } else if (change.kind == DocumentChange::Removed) {
        if (change.count == 1)
            removedAt_ = position_[static_cast<size_t>(change.first)];
        else
            resetting_ = true;
        if (removedAt_ >= 0)
            beginRemoveRows({}, removedAt_, removedAt_);
    }
    if (resetting_)
        beginResetModel();
}

void EntryTableModel::changed(const DocumentChange& change)
{
    if (change.kind == DocumentChange::Changed) {
        for (int row = change.first; row < change.first + change.count; ++row)
            if (const int shown = tableRow(row); shown >= 0)
                emit dataChanged(index(shown, 0), index(shown, columnCount() - 1));
        return;
    }
    if (!arranged() || change.kind == DocumentChange::Reset) {
        if (change.kind == DocumentChange::Reset) {
            // Another layout may have other columns: the sort by a column number goes.
            if (layoutColumns() != sortedColumns_)
                sortColumn_ = -1;
            arrange();
        }
        switch (change.kind) {
        case DocumentChange::Inserted:
            endInsertRows();
            break;
        case DocumentChange::Removed:
            endRemoveRows();
            break;
        case DocumentChange::Moved:
            endMoveRows();
            break;
        default:
            endResetModel();
            break;
        }
        return;
    }
    // A sorted or filtered table keeps its order: each row shown follows its entry.
    const int first = change.first;
    const int count = change.count;
    const auto renumber = [&](int row) {
        switch (change.kind) {
        case DocumentChange::Inserted:
            return row >= first ? row + count : row;
        case DocumentChange::Removed:
            return row >= first + count ? row - count : row >= first ? -1 : row;
        case DocumentChange::Moved:
            if (row == first)
                return change.to;
            if (first < change.to && row > first && row <= change.to)
                return row - 1;
            if (change.to < first && row >= change.to && row < first)
                return row + 1;
            return row;
        default:
            return row;
        }
    };
    std::vector<int> order;
    order.reserve(order_.size() + static_cast<size_t>(change.kind == DocumentChange::Inserted ? count : 0));
    for (const int row : order_)
        if (const int now = renumber(row); now >= 0)
            order.push_back(now);
    order_ = std::move(order);
    if (change.kind == DocumentChange::Inserted)
        for (int row = first; row < first + count; ++row)
            if (shows(row))
                order_.push_back(row);
    placeRows();
    if (resetting_)
        endResetModel();
    else if (removedAt_ >= 0)
        endRemoveRows();
    if (change.kind != DocumentChange::Inserted && rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

}  // namespace vs
