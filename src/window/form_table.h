#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vs {

class EntryTableModel;
class formTolvane;

// View > Table: the list as a table of its layout's columns. A cell of an
// item row is edited in place (one step of the list's history); sorting by a
// column and the filter change only what the table shows. The selected row
// follows the list's, and the list's follows the table's.
class formTable : public QWidget {
    Q_OBJECT
public:
    explicit formTable(formTolvane& main);
    ~formTable() override;

    // Selects the table's row of the list's row (none when it is not shown).
    void showRow(int documentRow);
    // The last check's findings changed.
    void findingsChanged();
    EntryTableModel* model() const { return model_; }

private:
    void applyFilter();

    formTolvane& main_;
    EntryTableModel* model_ = nullptr;
    QLineEdit* txtFilter = nullptr;
    QCheckBox* chkFindings = nullptr;
    QPushButton* cmdFileOrder = nullptr;
    QTableView* tblEntries = nullptr;
    bool following_ = false;  // the table is selecting the list's row: it does not select back
    int column_ = 0;          // the column of the current cell, kept while no cell is current
};

}  // namespace vs
