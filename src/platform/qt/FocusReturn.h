#pragma once
// Gives the keyboard back to the main window when one of its own dialogs
// or message boxes closes. A window manager does this by itself; without
// one (a bare X server, a kiosk session) X leaves the focus nowhere and the
// user's next keys are lost. Where a window manager has already done it,
// nothing happens.
#include <QObject>

class QWidget;

namespace zuno {

class FocusReturn : public QObject {
    Q_OBJECT
public:
    // Watches the application's windows on behalf of `window`.
    explicit FocusReturn(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void giveBack();

    QWidget &m_window;
};

} // namespace zuno
