#include "window/ViewportHooks.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

namespace zuno {

namespace {
// One notch of a common wheel.
constexpr int WheelStep = 120;
} // namespace

ViewportHooks::ViewportHooks(QObject *parent, FilesDropped dropped, Zoom zoom)
    : QObject(parent), m_dropped(std::move(dropped)), m_zoom(std::move(zoom))
{
}

QStringList ViewportHooks::localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir())
            paths << url.toLocalFile();
    }
    return paths;
}

bool ViewportHooks::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            break;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = localFiles(drop->mimeData());
        if (paths.isEmpty())
            break;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_dropped(paths);
        return true;
    }
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            break;
        m_wheelRest += wheel->angleDelta().y();
        const int steps = m_wheelRest / WheelStep;
        m_wheelRest -= steps * WheelStep;
        if (steps != 0)
            m_zoom(steps);
        wheel->accept();
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zuno
