#include "window/form_problems.h"

#include "window/form_tolvane.h"

#include <QBrush>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

namespace vs {

FindingListModel::FindingListModel(formTolvane& main, QObject* parent) : QAbstractListModel(parent), main_(main) {}

void FindingListModel::setFindings(std::vector<Finding> findings, std::vector<int> rows, bool stopped)
{
    beginResetModel();
    findings_ = std::move(findings);
    rows_ = std::move(rows);
    checked_ = true;
    stopped_ = stopped;
    endResetModel();
}

void FindingListModel::clear()
{
    beginResetModel();
    findings_.clear();
    rows_.clear();
    checked_ = false;
    endResetModel();
}

int FindingListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return findings_.empty() ? (checked_ ? 1 : 0) : static_cast<int>(findings_.size());
}

QVariant FindingListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (findings_.empty()) {  // the one row of a check that found nothing
        if (role == Qt::DisplayRole)
            return stopped_ ? QString("No problems found before the check was stopped.") : QString("No problems found.");
        return role == Qt::UserRole ? QVariant(-1) : QVariant();
    }
    const size_t at = static_cast<size_t>(index.row());
    const Finding& finding = findings_[at];
    switch (role) {
    case Qt::DisplayRole:
        // Lines as the file stands once saved, as the command line's check counts them.
        return QString("Line %1: %2: %3 [%4]")
            .arg(finding.line)
            .arg(QString::fromStdString(std::string(severityName(finding.severity))))
            .arg(main_.documentText(finding.message))
            .arg(QString::fromStdString(finding.code));
    case Qt::ForegroundRole:
        return finding.severity == Finding::Severity::Error ? QVariant(QBrush(QColor(200, 0, 0))) : QVariant();
    case Qt::UserRole:
        return at < rows_.size() ? rows_[at] : -1;
    default:
        return {};
    }
}

formProblems::formProblems(formTolvane& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName("formProblems");
    setWindowTitle("Check File");
    resize(560, 280);
    auto* layout = new QVBoxLayout(this);
    lblCheckedFile = new QLabel(this);
    lblCheckedFile->setObjectName("lblCheckedFile");
    lblCheckedFile->setTextFormat(Qt::PlainText);
    lblCheckedFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCheckState = new QLabel(this);
    lblCheckState->setObjectName("lblCheckState");
    findings_ = new FindingListModel(main, this);
    lstProblems = new QListView(this);
    lstProblems->setObjectName("lstProblems");
    lstProblems->setUniformItemSizes(true);
    lstProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstProblems->setModel(findings_);
    layout->addWidget(lblCheckedFile);
    layout->addWidget(lstProblems);
    layout->addWidget(lblCheckState);
    connect(lstProblems, &QListView::activated, this,
            [this](const QModelIndex& index) { main_.selectEntry(index.data(Qt::UserRole).toInt()); });
}

void formProblems::showFindings(const QString& file, const QString& layout, std::vector<Finding> findings,
                                std::vector<int> rows, bool stopped, bool show)
{
    lblCheckedFile->setText(file + "  (layout: " + layout + ")");
    findings_->setFindings(std::move(findings), std::move(rows), stopped);
    outOfDate_ = false;
    lblCheckState->setText(stopped ? "The check was stopped: the lines after the last one shown were not checked."
                                   : QString());
    if (!show)
        return;
    QWidget::show();
    raise();
}

void formProblems::clearFindings(const QString& file, const QString& layout)
{
    lblCheckedFile->setText(file + "  (layout: " + layout + ")");
    findings_->clear();
    outOfDate_ = false;
    lblCheckState->setText("Not checked yet: press F7 to check the file.");
}

void formProblems::markOutOfDate()
{
    if (outOfDate_)
        return;
    outOfDate_ = true;
    lblCheckState->setText("Out of date: the list changed since this check; press F7 to check it again.");
}

}  // namespace vs
