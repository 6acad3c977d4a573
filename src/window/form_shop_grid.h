#pragma once

#include "grid/shop_grid.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace vs {

class formTolvane;

// The shop's 8 x 15 grid as the server fills it, drawn live from the list:
// each placed item a rectangle coloured by its class group, the selected
// entry's rectangle highlighted, the items not placed listed in red below.
// Clicking a rectangle selects its entry in the list.
class formShopGrid : public QWidget {
    Q_OBJECT
public:
    explicit formShopGrid(formTolvane& main);

    // Lays the list out again; the main window calls it after changes.
    void refresh();
    // Draws the list's selected entry highlighted.
    void showSelection();
    const ShopGrid& grid() const { return grid_; }
    // The cell rectangle of column x, row y in the drawing's coordinates.
    QRect cellRect(int x, int y) const;

private:
    class GridView;
    formTolvane& main_;
    ShopGrid grid_;
    GridView* picShopGrid = nullptr;
    QLabel* lblNoGrid = nullptr;
    QListWidget* lstNotPlaced = nullptr;
};

}  // namespace vs
