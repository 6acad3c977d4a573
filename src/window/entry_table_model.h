#pragma once

#include "document/document.h"

#include <QAbstractTableModel>
#include <vector>

namespace vs {

class formTolvane;

// The document as a table: a column per column of its layout, named as the
// layout names it, then the comment and what the line keeps beyond the
// layout. Rows of other kinds (comments, settings, "end") show their text as
// the comment. Sorting and filtering change only the order and the rows the
// table shows, never the document.
class EntryTableModel : public QAbstractTableModel, public DocumentListener {
    Q_OBJECT
public:
    explicit EntryTableModel(formTolvane& main);
    ~EntryTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // A column of -1 goes back to the file's order.
    void sort(int column, Qt::SortOrder order) override;

    // Shows only the rows holding `text` (any case; empty: every row) and,
    // with `withFindings`, only those the last check found something on.
    void setFilter(const QString& text, bool withFindings);
    // The last check's findings changed: a filter by findings is applied again.
    void findingsChanged();
    int sortColumn() const { return sortColumn_; }
    // The document's row of a row of the table, and back (-1: not shown).
    int documentRow(int tableRow) const;
    int tableRow(int documentRow) const;

    void aboutToChange(const DocumentChange& change) override;
    void changed(const DocumentChange& change) override;

private:
    // Whether the table shows the rows in another order or only some of them.
    bool arranged() const { return sortColumn_ >= 0 || !filter_.isEmpty() || withFindings_; }
    // Works out the rows shown and their order from the sort and the filter.
    void arrange();
    void placeRows();
    bool shows(int row) const;
    int layoutColumns() const;

    formTolvane& main_;
    Document& document_;
    int sortColumn_ = -1;
    int sortedColumns_ = 0;  // the layout's columns when the sort was chosen
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString filter_;
    bool withFindings_ = false;
    std::vector<int> order_;     // arranged: the document's row of each row shown
    std::vector<int> position_;  // arranged: each document row's row in the table, or -1
    bool resetting_ = false;     // a change the table shows by laying out all its rows again
    int removedAt_ = -1;         // the table row a removal of one row takes out
};

}  // namespace vs
