#pragma once

#include <QComboBox>

namespace vs {

// A pick-only drop-down list whose rows carry a value. Filling it raises no
// event and leaves no row selected; selecting a row, by the user or from code,
// raises currentIndexChanged once, and selecting the row already selected
// raises nothing.
class ListSelector : public QComboBox {
    Q_OBJECT
public:
    ListSelector(bool sortedByText, QWidget* parent);

    void clearRows();
    // Appends (or, when sorted, inserts in case-insensitive text order) a row.
    void addRow(const QString& text, int value);

    int listIndex() const { return currentIndex(); }
    void setListIndex(int position);
    int rowValue(int position) const;
    // Position of the first row carrying `value`, -1 when none does.
    int positionOf(int value) const;

private:
    bool sorted_;
};

}  // namespace vs
