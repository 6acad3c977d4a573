#include "window/list_selector.h"

#include <QSignalBlocker>

namespace vs {

ListSelector::ListSelector(bool sortedByText, QWidget* parent) : QComboBox(parent), sorted_(sortedByText)
{
    setEditable(false);
    setMaxVisibleItems(16);
}

void ListSelector::clearRows()
{
    const QSignalBlocker quiet(this);
    clear();
}

void ListSelector::addRow(const QString& text, int value)
{
    const QSignalBlocker quiet(this);
    const int selected = currentIndex();
    int at = count();
    if (sorted_) {
        at = 0;
        while (at < count() && QString::compare(itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    insertItem(at, text, value);
    // A row added to an empty list becomes current; the list keeps what it had.
    setCurrentIndex(selected < 0 ? -1 : (at <= selected ? selected + 1 : selected));
}

void ListSelector::setListIndex(int position)
{
    setCurrentIndex(position < count() ? position : -1);
}

int ListSelector::rowValue(int position) const
{
    return itemData(position).toInt();
}

int ListSelector::positionOf(int value) const
{
    for (int p = 0; p < count(); ++p)
        if (rowValue(p) == value)
            return p;
    return -1;
}

}  // namespace vs
