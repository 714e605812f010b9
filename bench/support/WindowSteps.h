#pragma once
// Steps the window benchmarks share.
//
// Until the window's whole-text check (problems and record index, read off
// the window's thread) is in, and the search for the Record text's pieces
// that come back as they are is done: what a user waits for after an open
// or a view switch, and what must not run beside the step measured next.
// Gives up after `limitMs` and says so.
#include "items/DataItemView.h"
#include "window/frmEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

namespace zuno::bench {

inline bool settleWindow(frmEditor &window, qint64 limitMs = 120'000)
{
    auto *items = window.findChild<DataItemView *>();
    QElapsedTimer waited;
    waited.start();
    QApplication::processEvents();
    RecordViewPieces &pieces = window.shell().recordPieces();
    while ((items && items->checkPending()) || pieces.finding()) {
        if (waited.elapsed() > limitMs)
            return false;
        // Woken by the check's result, or now and then to look again.
        QEventLoop wait;
        QObject::connect(items, &DataItemView::problemsChanged, &wait, &QEventLoop::quit);
        QTimer::singleShot(20, &wait, &QEventLoop::quit);
        wait.exec();
    }
    QApplication::processEvents();
    return true;
}

// Runs the event loop until `done` holds, for at most `limitMs`; whether it
// came to hold.
inline bool idleUntil(const std::function<bool()> &done, qint64 limitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > limitMs)
            return false;
        QEventLoop wait;
        QTimer::singleShot(10, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return true;
}

// A key pressed and let go in the widget.
inline void pressKey(QWidget *widget, Qt::Key key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace zuno::bench
