// Item search: find by name, rank, and load a chosen hit.
#include "catalog/item_search.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"
#include "window/twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace vs {

namespace {
// The search frame at rest below the banner, and opened over it; its bottom edge stays.
constexpr int kSearchClosedTop = 1920;
constexpr int kSearchClosedHeight = 615;
constexpr int kSearchOpenHeight = kSearchClosedTop + kSearchClosedHeight;
}  // namespace

void formTolvane::cmdFind_Click()
{
    frmSearch->move(frmBanner->x(), frmSearch->y());
    frmSearch->raise();
    frmItemProperties->raise();
    frmSearch->setGeometry(frmSearch->x(), 0, frmSearch->width(), twips(kSearchOpenHeight));
    txtQuery->setFocus();

    const SearchQuery query = prepareSearchQuery(catalogBytes(txtQuery->text()));
    if (query.terms.empty())
        return;
    if (query.shortenedText)
        txtQuery->setText(catalogText(*query.shortenedText));
    lstResults->clear();
    for (const SearchRow& row : searchCatalog(*catalog_, query, searchMode != 0)) {
        auto* item = new QListWidgetItem(catalogText(row.text), lstResults);
        item->setData(Qt::UserRole, row.value);
    }
    lstResults->setCurrentRow(-1);
}

void formTolvane::lstResults_Click()
{
    const QListWidgetItem* row = lstResults->currentItem();
    if (!row || !row->isSelected() || !theItem)
        return;
    const SearchHit hit = decodeSearchRow(row->data(Qt::UserRole).toInt());
    theItem->isNotItem = false;
    theItem->showSel = false;
    theItem->flgFromShop = true;
    theItem->update(hit.classIndex, hit.typeIndex, hit.level, 0, 0, 0, 0);
    theItem->isNotItem = true;
    theItem->showSel = true;
    theItem->flgFromShop = false;
}

void formTolvane::optSearchMode_Click()
{
    searchMode = optSearchMode->isChecked() ? 1 : 0;
}

void formTolvane::txtQuery_GotFocus()
{
    // After the click that gave the focus has placed the cursor: typing replaces the query.
    QTimer::singleShot(0, txtQuery, [box = txtQuery] {
        if (box->hasFocus())
            box->selectAll();
    });
}

void formTolvane::txtQuery_LostFocus()
{
    if (!txtQuery->text().isEmpty())
        return;
    frmSearch->setGeometry(frmSearch->x(), twips(kSearchClosedTop), frmSearch->width(), twips(kSearchClosedHeight));
    frmBanner->raise();
    frmItemProperties->raise();
}

}  // namespace vs
