#include "window/form_problems.h"

#include "window/form_tolvane.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace vs {

formProblems::formProblems(formTolvane& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName("formProblems");
    setWindowTitle("Check File");
    resize(560, 260);
    auto* layout = new QVBoxLayout(this);
    lstProblems = new QListWidget(this);
    lstProblems->setObjectName("lstProblems");
    layout->addWidget(lstProblems);
    connect(lstProblems, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { main_.selectEntry(item->data(Qt::UserRole).toInt()); });
}

void formProblems::show(const std::vector<Finding>& findings)
{
    lstProblems->clear();
    for (const Finding& finding : findings) {
        // Rows stand for lines: the list is checked as Save would write it, a row a line.
        auto* item = new QListWidgetItem(QString("Row %1: %2: %3 [%4]")
                                             .arg(finding.line)
                                             .arg(QString::fromStdString(std::string(severityName(finding.severity))))
                                             .arg(main_.documentText(finding.message))
                                             .arg(QString::fromStdString(finding.code)),
                                         lstProblems);
        item->setData(Qt::UserRole, finding.line - 1);
        if (finding.severity == Finding::Severity::Error)
            item->setForeground(QColor(200, 0, 0));
    }
    if (findings.empty())
        (new QListWidgetItem("No problems found.", lstProblems))->setData(Qt::UserRole, -1);
    QWidget::show();
    raise();
}

}  // namespace vs
