#include "platform/qt/IdleServerSync.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace zuno {

IdleServerSync::IdleServerSync(QWidget &window) : QObject(&window), m_window(window) {}

void IdleServerSync::watch(QWidget &widget)
{
    // Only the X11 backing store waits so.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        widget.installEventFilter(this);
}

bool IdleServerSync::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        forget();
    } else if (event->type() == QEvent::Paint) {
        auto *widget = static_cast<QWidget *>(watched);
        const QRect painted = static_cast<QPaintEvent *>(event)->rect();
        if (!painted.isEmpty() && widget->window() == &m_window)
            m_painted += QRect(widget->mapTo(&m_window, painted.topLeft()), QSize(1, 1));
        // After the paint and its hand-over to the server.
        if (!m_queued) {
            m_queued = true;
            QMetaObject::invokeMethod(this, [this] { sync(); }, Qt::QueuedConnection);
        }
    }
    return false;
}

void IdleServerSync::sync()
{
    m_queued = false;
    const QRegion painted = std::exchange(m_painted, QRegion());
    QBackingStore *store = m_window.backingStore();
    const QWindow *window = m_window.windowHandle();
    // A window with an alpha channel has what it is to paint cleared first.
    if (painted.isEmpty() || !store || !window || window->format().hasAlpha()
        || m_window.testAttribute(Qt::WA_TranslucentBackground))
        return;
    // Getting ready to paint pixels it handed over, the backing store waits
    // for the server; the pixels, painted last, are what the window holds.
    store->beginPaint(painted);
    store->endPaint();
}

} // namespace zuno
