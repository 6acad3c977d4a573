// Window > Shop Grid and Edit > Check File: what the server will make of the
// list, kept up to date as the list changes.
#include "check/file_check.h"
#include "codes/item_columns.h"
#include "document/list_reader.h"
#include "window/entry_list_model.h"
#include "window/form_problems.h"
#include "window/form_shop_grid.h"
#include "window/form_table.h"
#include "window/form_tolvane.h"
#include "window/code_page_text.h"

#include <QFileInfo>
#include <QListView>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>

namespace vs {

void formTolvane::mnuShopGrid_Click()
{
    if (!shopGrid_)
        shopGrid_ = new formShopGrid(*this);
    gridStale_ = false;
    shopGrid_->refresh();
    shopGrid_->show();
    shopGrid_->raise();
}

void formTolvane::listViewsChanged()
{
    if (viewsChangePosted_)
        return;
    // A command that changes many rows brings the windows up to date once, when it is done.
    viewsChangePosted_ = true;
    QTimer::singleShot(0, this, [this] {
        viewsChangePosted_ = false;
        if (shopGrid_ && shopGrid_->isVisible() && gridStale_) {
            gridStale_ = false;
            shopGrid_->refresh();
        }
        if (problems_ && checkStale_) {
            // Once checked, a small list is checked again at once (the marks
            // follow, also with the window closed); a big one is marked out of
            // date until F7, so that no edit waits for a check of the whole file.
            if (document_.size() <= liveCheckRows) {
                checkList(false);
            } else {
                problems_->markOutOfDate();
                // With the window closed nothing would say the marks are
                // stale: they go until the next check.
                if (!problems_->isVisible()) {
                    listModel_->setFindings({});
                    if (table_)
                        table_->findingsChanged();
                }
            }
        }
    });
}

void formTolvane::selectEntry(int row)
{
    if (row < 0 || row >= document_.size())
        return;
    setListRow(row);
    lstShop->scrollTo(listModel_->index(row));
}

QString formTolvane::checkedFileName() const
{
    return currFile.isEmpty() ? QString("the list (no file)") : QFileInfo(currFile).fileName();
}

QString formTolvane::layoutCaption() const
{
    return QString::fromLatin1(layout().label.data(), int(layout().label.size())) + ", " +
           QString::fromStdString(layout().columnNames());
}

void formTolvane::mnuTable_Click()
{
    if (!table_) {
        table_ = new formTable(*this);
        connect(lstShop->selectionModel(), &QItemSelectionModel::selectionChanged, table_,
                [this] { table_->showRow(selectedRow()); });
    }
    table_->show();
    table_->raise();
    table_->showRow(selectedRow());
}

int formTolvane::foundAt(int row) const
{
    return listModel_->foundAt(row);
}

bool formTolvane::editEntryColumn(int row, int column, const QString& value)
{
    if (row < 0 || row >= document_.size() || document_.at(row).kind != kItemEntry)
        return false;
    const ItemLayout& items = layout().items;
    const size_t columns = items.count();
    ListEntry entry = document_.at(row);
    const std::string bytes = documentBytes(value);
    QString problem;
    QString what;
    if (column >= 0 && static_cast<size_t>(column) < columns) {
        const ItemColumn& named = items.columns[static_cast<size_t>(column)];
        what = QString::fromLatin1(named.name.data(), int(named.name.size()));
        problem = QString::fromStdString(columnValueProblem(named, bytes));
        entry.text = withEntryColumn(entry.text, static_cast<size_t>(column), bytes);
    } else if (static_cast<size_t>(column) == columns) {
        what = "Comment";
        if (!encodable(value, docEncoding_))
            problem = QString::fromStdString(docEncoding_.label()) + " cannot hold that comment; the file is written in it";
        else if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 32 && c != '\t'; }))
            problem = "a comment holds no line breaks or control characters";
        else if (value.contains(',') || value.contains("//"))
            problem = "a comment holds no comma and no \"//\": the file would read what follows them as more than "
                      "the comment";
        entry.text = withEntryComment(entry.text, columns, bytes);
    } else {
        return false;
    }
    if (!problem.isEmpty()) {
        tellUser(StatusColor::Yellow,
                 QString("Table> Row %1: %2; \"%3\" was not written.").arg(row + 1).arg(problem).arg(value));
        return false;
    }
    beginListChange();
    setRow(row, entry);
    endListChange("Edit " + what);
    if (selectedRow() == row)
        lstShop_Click();  // the editor shows the row as it is now; the selection stays
    tellUser(StatusColor::White, QString("Table> Row %1: %2 is now \"%3\".").arg(row + 1).arg(what).arg(value));
    return true;
}

void formTolvane::mnuCheck_Click()
{
    checkList(true);
}

void formTolvane::checkList(bool asked)
{
    const EntryList& list = entries();
    const int count = document_.size();
    // A long check shows its progress and can be stopped.
    QProgressDialog progress("Checking " + checkedFileName() + "...", "Cancel", 0, count, this);
    progress.setObjectName("dlgCheck");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(checkProgressDelay);
    CheckOptions options;
    options.keepGoing = [&](size_t done) {
        progress.setValue(static_cast<int>(done));
        return !progress.wasCanceled();
    };
    // The file as Save would write it is checked as the command line checks
    // a file: the same findings on the same lines.
    std::vector<int> lines;
    const ListFile saved = readListFile(document_.fileBytes(&lines), layout());
    std::vector<Finding> findings = checkListFile(saved, layout(), *catalog_, options);
    const bool stopped = progress.wasCanceled();
    progress.setValue(count);
    checkStale_ = false;

    // Each finding at the last row that begins on or before its line; the rows
    // carry what was found until the next check.
    std::vector<int> rows(findings.size(), -1);
    std::vector<uint8_t> found(list.size(), EntryListModel::kNoFinding);
    size_t errors = 0;
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings[i];
        const bool error = finding.severity == Finding::Severity::Error;
        errors += error ? 1 : 0;
        const auto after = std::upper_bound(lines.begin(), lines.end(), finding.line);
        if (after == lines.begin())
            continue;
        size_t row = static_cast<size_t>(after - lines.begin()) - 1;
        // Rows kept together on one line: the finding goes to the first of them.
        while (row > 0 && lines[row - 1] == lines[row])
            --row;
        rows[i] = static_cast<int>(row);
        found[row] = std::max<uint8_t>(found[row], error ? EntryListModel::kError : EntryListModel::kWarning);
    }
    listModel_->setFindings(std::move(found));
    if (!problems_)
        problems_ = new formProblems(*this);
    const size_t warnings = findings.size() - errors;
    problems_->showFindings(checkedFileName(), layoutCaption(), std::move(findings), std::move(rows), stopped,
                            asked || problems_->isVisible());
    if (table_)
        table_->findingsChanged();
    if (!asked)
        return;
    const QString counts = QString("%1 error%2, %3 warning%4")
                               .arg(errors)
                               .arg(errors == 1 ? "" : "s")
                               .arg(warnings)
                               .arg(warnings == 1 ? "" : "s");
    if (stopped)
        tellUser(StatusColor::Yellow, "Check> Stopped: " + counts + " in the lines checked before it.");
    else
        tellUser(errors > 0 ? StatusColor::Yellow : StatusColor::White, "Check> " + counts + ".");
}

}  // namespace vs
