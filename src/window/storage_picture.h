#pragma once

#include <QColor>
#include <QWidget>

namespace vs {

class formStorage;

// The storage drawn: an inventory's equipped slots arranged as on a paper
// doll above its grid, a warehouse's grid alone; each item a rectangle of its
// size in its group's colour, named, outlined red when it has a problem and
// yellow when chosen. A click chooses, a drag moves an item.
class StoragePicture : public QWidget {
public:
    explicit StoragePicture(formStorage& owner);

    // Sizes the picture for the storage's kind.
    void fitToStorage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    formStorage& owner_;
    int dragged_ = -1;   // the slot whose item the mouse holds
    QPoint pressedAt_;
    QPoint dragAt_;      // where the held item is drawn while moving
    bool moving_ = false;
};

// The geometry of the picture, in pixels.
inline constexpr int kStorageCell = 40;
inline constexpr int kStorageMargin = 6;
// Rows of cells the paper doll takes above an inventory's grid, the gap included.
inline constexpr int kDollRows = 7;
// The outlines of the chosen item and of items with an error or a warning.
inline const QColor kChosenEdge{255, 230, 0};
inline const QColor kErrorEdge{230, 0, 0};
inline const QColor kWarningEdge{255, 150, 0};

}  // namespace vs
