#include "platform/qt/FocusReturn.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace zuno {

FocusReturn::FocusReturn(QWidget &window) : QObject(&window), m_window(window)
{
    qApp->installEventFilter(this);
}

bool FocusReturn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return false;
    auto *closing = static_cast<QWidget *>(watched);
    // Only a window of this main window's own that had the keyboard.
    if (!closing->isWindow() || closing == &m_window || closing->windowType() == Qt::Popup
        || closing->windowType() == Qt::ToolTip)
        return false;
    // A dialog gives up being the active window just before it hides.
    const QWidget *active = QApplication::activeWindow();
    if (active && active != closing)
        return false;
    const QWidget *owner = closing->parentWidget() ? closing->parentWidget()->window() : nullptr;
    while (owner && owner != &m_window)
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    if (owner)
        QTimer::singleShot(0, this, &FocusReturn::giveBack);
    return false;
}

void FocusReturn::giveBack()
{
    const QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible())
        return; // a window manager (or the next dialog) has it already
    // A modal dialog still open (Go To back after its warning) comes first.
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *target = modal && modal->isVisible() ? modal : &m_window;
    if (target->isVisible() && !target->isMinimized())
        target->activateWindow();
}

} // namespace zuno
