#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zuno {

const QList<int> &appIconSizes()
{
    static const QList<int> sizes{16, 32, 48, 64, 128, 256};
    return sizes;
}

QImage renderAppIcon(int size)
{
    QSvgRenderer renderer(QStringLiteral(":/icons/zunopad.svg"));
    if (!renderer.isValid())
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

QIcon makeAppIcon()
{
    QIcon icon;
    for (int size : appIconSizes()) {
        const QImage image = renderAppIcon(size);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace zuno
