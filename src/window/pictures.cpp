#include "window/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vs {

namespace {

QPixmap canvas(int w, int h)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawArmour(QPainter& p)
{
    QPainterPath body;
    body.moveTo(12, 6);
    body.lineTo(20, 4);
    body.quadTo(24, 9, 28, 4);
    body.lineTo(36, 6);
    body.lineTo(40, 16);
    body.lineTo(34, 18);
    body.lineTo(33, 38);
    body.lineTo(15, 38);
    body.lineTo(14, 18);
    body.lineTo(8, 16);
    body.closeSubpath();
    p.setBrush(QColor(150, 160, 175));
    p.setPen(QPen(QColor(50, 55, 70), 1.5));
    p.drawPath(body);
    p.drawLine(24, 10, 24, 36);
}

void drawSword(QPainter& p)
{
    p.setPen(QPen(QColor(50, 55, 70), 1.5));
    p.setBrush(QColor(200, 205, 215));
    QPolygonF blade({{34, 6}, {38, 6}, {38, 10}, {20, 28}, {16, 24}});
    p.drawPolygon(blade);
    p.setBrush(QColor(180, 140, 60));
    p.drawPolygon(QPolygonF({{12, 22}, {14, 20}, {24, 30}, {22, 32}}));
    p.setBrush(QColor(110, 70, 40));
    p.drawPolygon(QPolygonF({{17, 27}, {19, 29}, {12, 36}, {10, 34}}));
}

void drawJewelBox(QPainter& p)
{
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(8, 20, 32, 18);
    p.setBrush(QColor(175, 120, 60));
    p.drawRect(6, 16, 36, 6);
    p.setBrush(QColor(60, 170, 220));
    p.setPen(QPen(QColor(20, 60, 110), 1.2));
    p.drawPolygon(QPolygonF({{24, 4}, {31, 10}, {24, 17}, {17, 10}}));
}

}  // namespace

QIcon categoryIcon(int group)
{
    QPixmap pixmap = canvas(48, 42);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (group == 0)
        drawArmour(p);
    else if (group == 1)
        drawSword(p);
    else
        drawJewelBox(p);
    return QIcon(pixmap);
}

QIcon doubleArrowIcon(bool up)
{
    QPixmap pixmap = canvas(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    for (int y : {2, 8}) {
        QPolygonF arrow = up ? QPolygonF({{8, qreal(y)}, {14, qreal(y + 6)}, {2, qreal(y + 6)}})
                             : QPolygonF({{2, qreal(y)}, {14, qreal(y)}, {8, qreal(y + 6)}});
        p.drawPolygon(arrow);
    }
    return QIcon(pixmap);
}

QPixmap bannerPixmap(QSize size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(20, 45, 60));
    sky.setColorAt(1, QColor(0, 90, 100));
    p.fillRect(pixmap.rect(), sky);
    // A vault door.
    const int r = size.height() / 3;
    const QPoint centre(size.width() / 2, size.height() / 2 - 8);
    p.setPen(QPen(QColor(210, 180, 90), 3));
    p.setBrush(QColor(70, 80, 90));
    p.drawEllipse(centre, r, r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r / 3, r / 3);
    for (int a = 0; a < 360; a += 60) {
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotate(a);
        p.drawLine(t.map(QPoint(r / 3, 0)), t.map(QPoint(r - 6, 0)));
    }
    QFont font = p.font();
    font.setBold(true);
    font.setPointSize(14);
    p.setFont(font);
    p.setPen(QColor(235, 220, 170));
    p.drawText(QRect(0, size.height() - 32, size.width(), 28), Qt::AlignCenter, "Vaultsmith");
    return pixmap;
}

}  // namespace vs
