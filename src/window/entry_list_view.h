#pragma once

#include <QListView>

namespace vs {

// The list's view: rows of one height, each one line. A changed row keeps
// the height and width of every row, so only that row is painted again; the
// plain list view would lay out all its rows for it, which a list of
// 600,000 rows feels on every edit. The first row sets the size of all, so a
// change to it is laid out as usual.
class EntryListView : public QListView {
public:
    using QListView::QListView;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override
    {
        if (topLeft.row() == 0 || !uniformItemSizes())
            QListView::dataChanged(topLeft, bottomRight, roles);
        else
            QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    }
};

}  // namespace vs
