#pragma once
// What the main window takes from the mouse over the editor and over
// itself: files dropped (opened, not inserted as text) and Ctrl with the
// wheel (zoom). Installed as an event filter; text dropped into the editor
// goes on to the editor, which refuses it.
#include <QObject>
#include <QStringList>
#include <functional>

class QMimeData;

namespace zuno {

class ViewportHooks : public QObject {
    Q_OBJECT
public:
    using FilesDropped = std::function<void(const QStringList &paths)>;
    using Zoom = std::function<void(int steps)>;

    ViewportHooks(QObject *parent, FilesDropped dropped, Zoom zoom);

    // The local files a drag carries, in order; empty when it carries none.
    static QStringList localFiles(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FilesDropped m_dropped;
    Zoom m_zoom;
    int m_wheelRest = 0; // wheel turns short of a whole step
};

} // namespace zuno
