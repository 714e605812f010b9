#pragma once
// Qt hands a window's pixels to the X server in memory the two share, and
// before it paints over pixels it has handed over, it waits for the server
// to have read them: a round trip to the server, at the start of the next
// paint, on a key's way to the screen. This takes that wait once the window
// is idle after a paint of a widget it watches (the editor's text, the
// status bar: what a key repaints), so that the next paint starts at once.
// Pixels that moved on the server (a scroll) are left to the next paint's
// own wait.
#include <QObject>
#include <QRegion>

class QWidget;

namespace zuno {

class IdleServerSync : public QObject {
public:
    explicit IdleServerSync(QWidget &window);
    void watch(QWidget &widget);
    // A watched widget's pixels moved on the server since its last paint.
    void forget() { m_painted = QRegion(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sync();

    QWidget &m_window;
    // A pixel of each watched widget's last paint, in the window.
    QRegion m_painted;
    bool m_queued = false;
};

} // namespace zuno
