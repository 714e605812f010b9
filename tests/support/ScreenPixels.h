#pragma once
// What a widget repaints, and whether what it shows (the pixels its window
// holds for the screen) is what it would show painted afresh.
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

namespace zuno::test {

// Installed as an event filter: gathers what the widget repaints.
struct PaintedRegion : QObject {
    QRegion region;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

inline bool showsWhatItWouldPaintAfresh(QWidget &widget)
{
    const auto *image = dynamic_cast<const QImage *>(widget.backingStore()->paintDevice());
    if (!image)
        return false;
    const QImage shown = image->copy(QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()));
    return shown == widget.grab().toImage().convertToFormat(shown.format());
}

} // namespace zuno::test
