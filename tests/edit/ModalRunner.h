#pragma once
// Runs test steps while a modal dialog or menu is open: `open` shows it
// (and blocks in its event loop), `steps` runs from inside that loop. Should
// the steps leave it open, a safety net closes it after a while, so that a
// failing test cannot hang. Both timers end with the call.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace zuno {

inline void closeWhatIsOpen()
{
    bool closedSomething = false;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        closedSomething = true;
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        closedSomething = true;
    }
    if (closedSomething)
        ADD_FAILURE() << "a modal window was still open; closed by the safety net";
}

template <class Open>
auto whileModal(const std::function<void()> &steps, Open &&open, int safetyMs = 5000)
{
    QTimer stepTimer;
    stepTimer.setSingleShot(true);
    QObject::connect(&stepTimer, &QTimer::timeout, steps);
    stepTimer.start(0);
    QTimer safety;
    safety.setInterval(safetyMs);
    QObject::connect(&safety, &QTimer::timeout, &closeWhatIsOpen);
    safety.start();
    return std::forward<Open>(open)();
}

} // namespace zuno
