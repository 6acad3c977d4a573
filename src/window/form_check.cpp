// Window > Shop Grid and Edit > Check File: what the server will make of the list.
#include "check/file_check.h"
#include "document/list_reader.h"
#include "window/form_problems.h"
#include "window/form_shop_grid.h"
#include "window/form_tolvane.h"

#include "window/entry_list_model.h"

#include <QListView>
#include <QTimer>

namespace vs {

void formTolvane::mnuShopGrid_Click()
{
    if (!shopGrid_)
        shopGrid_ = new formShopGrid(*this);
    shopGrid_->refresh();
    shopGrid_->show();
    shopGrid_->raise();
}

void formTolvane::listViewsChanged()
{
    if (!shopGrid_ || !shopGrid_->isVisible() || viewsChangePosted_)
        return;
    // A command that changes many rows lays the grid out once, when it is done.
    viewsChangePosted_ = true;
    QTimer::singleShot(0, this, [this] {
        viewsChangePosted_ = false;
        if (shopGrid_ && shopGrid_->isVisible())
            shopGrid_->refresh();
    });
}

void formTolvane::selectEntry(int row)
{
    if (row < 0 || row >= document_.size())
        return;
    setListRow(row);
    lstShop->scrollTo(listModel_->index(row));
}

void formTolvane::mnuCheck_Click()
{
    const EntryList& list = entries();
    std::vector<int> lines(list.size());
    for (size_t r = 0; r < lines.size(); ++r)
        lines[r] = static_cast<int>(r) + 1;
    std::vector<Finding> findings;
    const SourceText* source = document_.source();
    if (std::optional<Finding> notText = source ? notTextFinding(source->bytes) : std::nullopt)
        findings.push_back(std::move(*notText));  // nothing in it is checked line by line
    else
        findings = checkEntries(list, lines, *layout_, *catalog_);

    // Rows with an error carry a mark until the next check.
    std::vector<bool> marks(list.size());
    size_t errors = 0;
    for (const Finding& finding : findings)
        if (finding.severity == Finding::Severity::Error) {
            ++errors;
            if (finding.line >= 1 && static_cast<size_t>(finding.line) <= marks.size())
                marks[static_cast<size_t>(finding.line - 1)] = true;
        }
    listModel_->setMarks(std::move(marks));
    if (!problems_)
        problems_ = new formProblems(*this);
    problems_->show(findings);
    const size_t warnings = findings.size() - errors;
    tellUser(errors > 0 ? StatusColor::Yellow : StatusColor::White,
             QString("Check> %1 error%2, %3 warning%4.")
                 .arg(errors)
                 .arg(errors == 1 ? "" : "s")
                 .arg(warnings)
                 .arg(warnings == 1 ? "" : "s"));
}

}  // namespace vs
