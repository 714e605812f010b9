#pragma once
// What a widget shows, as its window holds the pixels (the backing store
// the screen is given), and whether that is what the widget would show
// painted afresh.
#include <QBackingStore>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace zuno::test {

inline QImage shownPixels(QWidget &widget)
{
    const auto *image = dynamic_cast<const QImage *>(widget.backingStore()->paintDevice());
    if (!image)
        return {};
    return image->copy(QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()));
}

inline bool showsWhatItWouldPaintAfresh(QWidget &widget)
{
    const QImage shown = shownPixels(widget);
    return !shown.isNull() && shown == widget.grab().toImage().convertToFormat(shown.format());
}

} // namespace zuno::test
