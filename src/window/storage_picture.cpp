#include "window/storage_picture.h"

#include "catalog/catalog.h"
#include "storage/storage_text.h"
#include "codes/vault_decode.h"
#include "window/form_storage.h"
#include "window/form_tolvane.h"
#include "window/item_colors.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace vs {

StoragePicture::StoragePicture(formStorage& owner) : QWidget(&owner), owner_(owner)
{
    setObjectName("picStorage");
    setMouseTracking(false);
}

void StoragePicture::fitToStorage()
{
    const StorageKind kind = owner_.storage().kind;
    const QRect last = owner_.cellRect(kStorageColumns - 1, storageRows(kind) - 1);
    setFixedSize(last.right() + 1 + kStorageMargin, last.bottom() + 1 + kStorageMargin);
}

void StoragePicture::paintEvent(QPaintEvent*)
{
    const Storage& storage = owner_.storage();
    const Catalog& catalog = owner_.main_.catalog();
    QPainter p(this);
    p.fillRect(rect(), QColor(32, 32, 32));
    QFont small = font();
    small.setPointSizeF(7);
    p.setFont(small);

    // The empty grid, the chosen free place, and the empty equipped slots by name.
    p.setPen(QColor(70, 70, 70));
    for (int y = 0; y < storageRows(storage.kind); ++y)
        for (int x = 0; x < kStorageColumns; ++x)
            p.drawRect(owner_.cellRect(x, y));
    if (storage.kind == StorageKind::Inventory)
        for (int slot = 0; slot < kEquippedSlots; ++slot) {
            const QRect box = owner_.slotRect(slot).adjusted(1, 1, -1, -1);
            p.setPen(QColor(90, 90, 90));
            p.drawRect(box);
            const std::string_view name = equippedSlotName(slot);
            p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap,
                       QString::fromUtf8(name.data(), static_cast<int>(name.size())));
        }
    if (owner_.chosenPlace() >= 0) {
        p.setPen(QPen(kChosenEdge, 2, Qt::DashLine));
        p.drawRect(owner_.slotRect(owner_.chosenPlace()).adjusted(2, 2, -2, -2));
    }

    // The items; those with an error outlined red, with a warning orange.
    enum Trouble { None, Warning, Error };
    std::vector<Trouble> troubled(storage.contents.size(), None);
    for (const Finding& finding : owner_.findings())
        if (finding.line >= 0 && static_cast<size_t>(finding.line) < troubled.size()) {
            Trouble& trouble = troubled[static_cast<size_t>(finding.line)];
            trouble = std::max(trouble, finding.severity == Finding::Severity::Error ? Error : Warning);
        }
    for (int slot = 0; slot < static_cast<int>(storage.contents.size()); ++slot) {
        const StorageSlot& item = storage.contents[static_cast<size_t>(slot)];
        if (isEmptySlot(item))
            continue;
        QRect box = owner_.slotRect(slot).adjusted(1, 1, -1, -1);
        if (slot == dragged_ && moving_)
            box.translate(dragAt_ - pressedAt_);
        const DecodedVault fields = *decodeVaultCode(slotHex(item));
        p.fillRect(box, itemGroupColor(catalog.item(fields.classIndex, fields.typeIndex)
                                           ? Catalog::getCat(fields.classIndex)
                                           : -1));
        const bool chosen = slot == owner_.selectedSlot();
        const Trouble trouble = troubled[static_cast<size_t>(slot)];
        const QColor edge = chosen                ? kChosenEdge
                            : trouble == Error   ? kErrorEdge
                            : trouble == Warning ? kWarningEdge
                                                 : QColor(20, 20, 20);
        p.setPen(QPen(edge, chosen || trouble != None ? 3 : 1));
        p.drawRect(box);
        p.setPen(Qt::black);
        const QString label = owner_.main_.catalogText(storageItemName(catalog, item));
        const QRect inside = box.adjusted(3, 3, -3, -3);
        if (box.height() > box.width()) {
            // Tall, narrow items read from bottom to top.
            p.save();
            p.translate(inside.bottomLeft());
            p.rotate(-90);
            p.drawText(QRect(0, 0, inside.height(), inside.width()), Qt::AlignCenter | Qt::TextWordWrap, label);
            p.restore();
        } else {
            p.drawText(inside, Qt::AlignCenter | Qt::TextWordWrap, label);
        }
    }
}

void StoragePicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedAt_ = dragAt_ = event->position().toPoint();
    moving_ = false;
    const int slot = owner_.slotAt(pressedAt_);
    dragged_ = slot >= 0 && !isEmptySlot(owner_.storage().contents[static_cast<size_t>(slot)]) ? slot : -1;
    if (slot >= 0)
        owner_.chooseSlot(slot);
}

void StoragePicture::mouseMoveEvent(QMouseEvent* event)
{
    if (dragged_ < 0)
        return;
    dragAt_ = event->position().toPoint();
    moving_ = moving_ || (dragAt_ - pressedAt_).manhattanLength() >= 4;
    update();
}

void StoragePicture::mouseReleaseEvent(QMouseEvent* event)
{
    const int slot = dragged_;
    dragged_ = -1;
    moving_ = false;
    update();
    if (event->button() != Qt::LeftButton || slot < 0)
        return;
    const QPoint releasedAt = event->position().toPoint();
    if ((releasedAt - pressedAt_).manhattanLength() < 4)
        return;  // a click, not a drag
    const Storage& storage = owner_.storage();
    // Onto an equipped slot; onto the grid, the item's top-left cell moves as
    // far as the mouse did, so the item stays under the same spot of the mouse.
    const int target = owner_.slotAt(releasedAt);
    if (target >= 0 && !slotCell(storage.kind, target)) {
        owner_.moveItem(slot, target);
        return;
    }
    const std::optional<StorageCell> from = owner_.cellAt(pressedAt_);
    const std::optional<StorageCell> to = owner_.cellAt(releasedAt);
    if (!to) {
        owner_.say(StatusColor::Yellow, "Move> Drop the item on the grid or on an equipped slot.");
        return;
    }
    int x = to->x, y = to->y;
    if (const std::optional<StorageCell> at = slotCell(storage.kind, slot); at && from) {
        x = at->x + to->x - from->x;
        y = at->y + to->y - from->y;
    }
    const std::optional<int> destination = cellSlot(storage.kind, x, y);
    if (!destination) {
        owner_.say(StatusColor::Yellow,
                   QString("Move> Column %1, row %2 is not on the grid; the item stays where it was.").arg(x).arg(y));
        return;
    }
    owner_.moveItem(slot, *destination);
}

bool StoragePicture::event(QEvent* event)
{
    // The tool-tip names the item, its code and its problems.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int slot = owner_.slotAt(help->pos());
        const Storage& storage = owner_.storage();
        if (slot < 0 || isEmptySlot(storage.contents[static_cast<size_t>(slot)])) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const StorageSlot& item = storage.contents[static_cast<size_t>(slot)];
        QString text = owner_.main_.catalogText(storageItemName(owner_.main_.catalog(), item)) + "\n" +
                       QString::fromStdString(slotHex(item)) + "\n" + owner_.slotPlace(slot);
        for (const Finding& finding : owner_.findings())
            if (finding.line == slot)
                text += "\n" + QString::fromLatin1(severityName(finding.severity)) + ": " +
                        owner_.main_.catalogText(finding.message);
        QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace vs
