#include "editor/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace zuno {

namespace {
// A sheet of paper with two record lines and a "Z".
QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const qreal unit = size / 16.0;
    painter.setPen(QPen(Qt::black, unit > 1 ? 2 : 1));
    painter.setBrush(QColor(255, 255, 224));
    painter.drawRect(QRectF(1.5 * unit, 0.5 * unit, 13 * unit, 15 * unit));
    painter.setPen(QPen(QColor(0, 0, 160), unit > 1 ? 2 : 1));
    painter.drawLine(QPointF(4 * unit, 11 * unit), QPointF(12 * unit, 11 * unit));
    painter.drawLine(QPointF(4 * unit, 13 * unit), QPointF(10 * unit, 13 * unit));
    painter.setPen(QPen(QColor(160, 0, 0), unit > 1 ? 3 : 1.5));
    painter.drawPolyline(QPolygonF({QPointF(4.5 * unit, 3 * unit), QPointF(11.5 * unit, 3 * unit),
                                    QPointF(4.5 * unit, 8.5 * unit), QPointF(11.5 * unit, 8.5 * unit)}));
    return pixmap;
}
} // namespace

QIcon makeAppIcon()
{
    QIcon icon;
    icon.addPixmap(drawIcon(32));
    icon.addPixmap(drawIcon(16));
    return icon;
}

} // namespace zuno
