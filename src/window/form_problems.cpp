#include "window/form_problems.h"

#include "window/form_tolvane.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace vs {

formProblems::formProblems(formTolvane& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName("formProblems");
    setWindowTitle("Check File");
    resize(560, 280);
    auto* layout = new QVBoxLayout(this);
    lblCheckedFile = new QLabel(this);
    lblCheckedFile->setObjectName("lblCheckedFile");
    lblCheckedFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCheckState = new QLabel(this);
    lblCheckState->setObjectName("lblCheckState");
    lstProblems = new QListWidget(this);
    lstProblems->setObjectName("lstProblems");
    lstProblems->setUniformItemSizes(true);
    layout->addWidget(lblCheckedFile);
    layout->addWidget(lstProblems);
    layout->addWidget(lblCheckState);
    connect(lstProblems, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { main_.selectEntry(item->data(Qt::UserRole).toInt()); });
}

void formProblems::showFindings(const QString& file, const QString& layout, const std::vector<Finding>& findings,
                                const std::vector<int>& rows, bool stopped)
{
    lblCheckedFile->setText(file + "  (layout: " + layout + ")");
    lstProblems->setUpdatesEnabled(false);
    lstProblems->clear();
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings[i];
        // Lines as the file stands once saved, as the command line's check counts them.
        auto* item = new QListWidgetItem(QString("Line %1: %2: %3 [%4]")
                                             .arg(finding.line)
                                             .arg(QString::fromStdString(std::string(severityName(finding.severity))))
                                             .arg(main_.documentText(finding.message))
                                             .arg(QString::fromStdString(finding.code)),
                                         lstProblems);
        item->setData(Qt::UserRole, i < rows.size() ? rows[i] : -1);
        if (finding.severity == Finding::Severity::Error)
            item->setForeground(QColor(200, 0, 0));
    }
    if (findings.empty())
        (new QListWidgetItem(stopped ? "No problems found before the check was stopped." : "No problems found.",
                             lstProblems))
            ->setData(Qt::UserRole, -1);
    lstProblems->setUpdatesEnabled(true);
    outOfDate_ = false;
    lblCheckState->setText(stopped ? "The check was stopped: the lines after the last one shown were not checked."
                                   : QString());
    QWidget::show();
    raise();
}

void formProblems::clearFindings(const QString& file, const QString& layout)
{
    lblCheckedFile->setText(file + "  (layout: " + layout + ")");
    lstProblems->clear();
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
