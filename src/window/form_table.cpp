#include "window/form_table.h"

#include "window/entry_table_model.h"
#include "window/form_tolvane.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTableView>
#include <QVBoxLayout>

namespace vs {

formTable::formTable(formTolvane& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName("formTable");
    setWindowTitle("Table");
    resize(760, 480);
    model_ = new EntryTableModel(main);
    model_->setParent(this);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setPlaceholderText("Filter: rows holding this text");
    txtFilter->setClearButtonEnabled(true);
    chkFindings = new QCheckBox("Rows with findings", this);
    chkFindings->setObjectName("chkFindings");
    chkFindings->setToolTip("Only the rows the last Check File (F7) found something on");
    cmdFileOrder = new QPushButton("File Order", this);
    cmdFileOrder->setObjectName("cmdFileOrder");
    cmdFileOrder->setToolTip("Show the rows in the order of the file again");
    bar->addWidget(txtFilter, 1);
    bar->addWidget(chkFindings);
    bar->addWidget(cmdFileOrder);
    layout->addLayout(bar);

    tblEntries = new QTableView(this);
    tblEntries->setObjectName("tblEntries");
    tblEntries->setModel(model_);
    tblEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblEntries->setSelectionMode(QAbstractItemView::SingleSelection);
    tblEntries->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    // The file's order until a column's heading is clicked.
    tblEntries->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tblEntries->setSortingEnabled(true);
    tblEntries->horizontalHeader()->setStretchLastSection(true);
    tblEntries->horizontalHeader()->setDefaultSectionSize(64);
    // Rows of one height: a table of 600,000 rows lays out none of them.
    tblEntries->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblEntries->verticalHeader()->setDefaultSectionSize(tblEntries->fontMetrics().height() + 6);
    tblEntries->setWordWrap(false);
    layout->addWidget(tblEntries, 1);

    // After the rows were laid out again (another file, a sort, the filter),
    // the list's row is selected again; a sort the layout lost is shown gone.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (model_->sortColumn() < 0 && tblEntries->horizontalHeader()->sortIndicatorSection() >= 0) {
            const QSignalBlocker quiet(tblEntries->horizontalHeader());
            tblEntries->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        }
        QTimer::singleShot(0, this, [this] { showRow(main_.selectedRow()); });
    });
    connect(txtFilter, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(chkFindings, &QCheckBox::toggled, this, [this] { applyFilter(); });
    connect(cmdFileOrder, &QPushButton::clicked, this,
            [this] { tblEntries->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder); });
    connect(tblEntries->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { showRow(main_.selectedRow()); });
    connect(tblEntries->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    column_ = current.column();
                if (following_ || !current.isValid())
                    return;
                const int row = model_->documentRow(current.row());
                if (row >= 0 && row != main_.selectedRow())
                    main_.selectEntry(row);
            });
}

formTable::~formTable()
{
    // The model listens to the main window's document: it goes first.
    tblEntries->setModel(nullptr);
    delete model_;
}

void formTable::applyFilter()
{
    model_->setFilter(txtFilter->text(), chkFindings->isChecked());
    showRow(main_.selectedRow());
}

void formTable::findingsChanged()
{
    model_->findingsChanged();
    showRow(main_.selectedRow());
}

void formTable::showRow(int documentRow)
{
    following_ = true;
    const int row = model_->tableRow(documentRow);
    if (row < 0) {
        tblEntries->selectionModel()->clear();
    } else {
        const int column = std::min(column_, model_->columnCount() - 1);
        const QModelIndex at = model_->index(row, column);
        tblEntries->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
        tblEntries->scrollTo(at);
    }
    following_ = false;
}

}  // namespace vs
