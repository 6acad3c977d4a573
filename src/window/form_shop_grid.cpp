#include "window/form_shop_grid.h"

#include "catalog/catalog.h"
#include "window/form_tolvane.h"
#include "window/item_colors.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace vs {

namespace {

constexpr int kCell = 34;
constexpr int kMargin = 4;

}  // namespace

class formShopGrid::GridView : public QWidget {
public:
    explicit GridView(formShopGrid& owner) : QWidget(&owner), owner_(owner)
    {
        setObjectName("picShopGrid");
        setFixedSize(kGridColumns * kCell + 2 * kMargin, kGridRows * kCell + 2 * kMargin);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(32, 32, 32));
        p.setPen(QColor(70, 70, 70));
        for (int y = 0; y < kGridRows; ++y)
            for (int x = 0; x < kGridColumns; ++x)
                p.drawRect(owner_.cellRect(x, y));
        QFont small = font();
        small.setPointSizeF(7);
        p.setFont(small);
        const int selected = owner_.main_.selectedRow();
        for (const GridItem& item : owner_.grid_.items) {
            if (item.fate != GridItem::Fate::Placed)
                continue;
            const QRect box = owner_.cellRect(item.x, item.y)
                                  .united(owner_.cellRect(item.x + item.width - 1, item.y + item.height - 1))
                                  .adjusted(1, 1, -1, -1);
            p.fillRect(box, itemGroupColor(Catalog::getCat(item.item.classIndex)));
            const bool chosen = static_cast<int>(item.entry) == selected;
            p.setPen(QPen(chosen ? QColor(255, 230, 0) : QColor(20, 20, 20), chosen ? 3 : 1));
            p.drawRect(box);
            p.setPen(Qt::black);
            const QRect inside = box.adjusted(2, 2, -2, -2);
            if (item.height > item.width) {
                // Tall, narrow items read from bottom to top.
                p.save();
                p.translate(inside.bottomLeft());
                p.rotate(-90);
                p.drawText(QRect(0, 0, inside.height(), inside.width()), Qt::AlignCenter | Qt::TextWordWrap,
                           label(item));
                p.restore();
            } else {
                p.drawText(inside, Qt::AlignCenter | Qt::TextWordWrap, label(item));
            }
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint() - QPoint(kMargin, kMargin);
        const int x = at.x() / kCell, y = at.y() / kCell;
        if (at.x() < 0 || at.y() < 0 || x >= kGridColumns || y >= kGridRows)
            return;
        if (const int index = owner_.grid_.at(x, y); index >= 0)
            owner_.main_.selectEntry(static_cast<int>(owner_.grid_.items[static_cast<size_t>(index)].entry));
    }

private:
    QString label(const GridItem& item) const
    {
        const clsItemProperty* known = owner_.main_.catalog().item(item.item.classIndex, item.item.typeIndex);
        QString text = known ? owner_.main_.catalogText(known->name) : QString("?");
        if (item.item.level > 0)
            text += QString(" +%1").arg(item.item.level);
        return text;
    }

    formShopGrid& owner_;
};

formShopGrid::formShopGrid(formTolvane& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName("formShopGrid");
    setWindowTitle("Shop Grid");
    auto* layout = new QVBoxLayout(this);
    picShopGrid = new GridView(*this);
    lblNoGrid = new QLabel("Item-bag files have no grid: the server gives their items one at a time.", this);
    lblNoGrid->setObjectName("lblNoGrid");
    lblNoGrid->setWordWrap(true);
    lstNotPlaced = new QListWidget(this);
    lstNotPlaced->setObjectName("lstNotPlaced");
    lstNotPlaced->setMaximumHeight(90);
    layout->addWidget(picShopGrid);
    layout->addWidget(lblNoGrid);
    layout->addWidget(lstNotPlaced);
    refresh();
}

QRect formShopGrid::cellRect(int x, int y) const
{
    return QRect(kMargin + x * kCell, kMargin + y * kCell, kCell, kCell);
}

void formShopGrid::refresh()
{
    const bool shop = main_.editMode() == 0;
    // The first rows not sold are listed; a long list past a full grid is counted.
    constexpr int kListed = 500;
    grid_ = shop ? layOutShop(main_.listEntries(), main_.catalog(), main_.layout(), kListed) : ShopGrid{};
    picShopGrid->setVisible(shop);
    lblNoGrid->setVisible(!shop);
    lstNotPlaced->setUpdatesEnabled(false);
    lstNotPlaced->clear();
    size_t notPlaced = 0;
    for (const GridItem& item : grid_.items) {
        if (item.fate == GridItem::Fate::Placed || ++notPlaced > kListed)
            continue;
        const char* why = item.fate == GridItem::Fate::NoRoom        ? "no room: not sold"
                          : item.fate == GridItem::Fate::UnknownItem ? "not in the catalog"
                          : item.fate == GridItem::Fate::AfterEnd    ? "after the shop's end: not sold"
                                                                     : "its size does not fit any grid";
        auto* row = new QListWidgetItem(
            QString("Row %1: %2 (%3)")
                .arg(item.entry + 1)
                .arg(main_.catalogText(entryDisplayName(main_.catalog(), item.item, main_.layout().items.naming)))
                .arg(why),
            lstNotPlaced);
        row->setForeground(QColor(220, 0, 0));
    }
    if (const size_t more = grid_.moreNotPlaced + (notPlaced > kListed ? notPlaced - kListed : 0); more > 0)
        (new QListWidgetItem(QString("... and %1 more item rows not sold (Edit > Check File lists them all).")
                                 .arg(more),
                             lstNotPlaced))
            ->setForeground(QColor(220, 0, 0));
    lstNotPlaced->setUpdatesEnabled(true);
    lstNotPlaced->setVisible(shop && lstNotPlaced->count() > 0);
    picShopGrid->update();
}

void formShopGrid::showSelection()
{
    picShopGrid->update();
}

}  // namespace vs
