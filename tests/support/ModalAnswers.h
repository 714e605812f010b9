#pragma once
// Answers the modal dialogs, message boxes and pop-up menus that a command
// opens, in the order given, with a deadline for each.
//
//     ModalAnswers answers;
//     answers.messageBox(QMessageBox::No).fileDialog(path);
//     action("mnuFileOpen")->trigger();   // blocks in the dialogs' loops
//     answers.finish();
//
// Each expected window is named by its class (QMessageBox, QFileDialog,
// QMenu: anything it inherits) or by its objectName. A poll on the event loop
// finds it, waits until it is ready for the answer (a file dialog: until the
// chosen file really is its selection), runs the check and the answer, and
// makes sure that it closes. When a window does not appear, does not become
// ready or does not close within the deadline, the test fails with a message
// that names the window waited for, and whatever modal window is open is
// closed so that the command's loop ends and the test goes on.
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <utility>

class QFileDialog;
class QWidget;

namespace zuno::test {

// What a message box showed.
struct ShownBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class ModalAnswers {
public:
    using Step = std::function<void(QWidget &)>;
    using Ready = std::function<bool(QWidget &)>;

    explicit ModalAnswers(std::chrono::milliseconds deadline = std::chrono::seconds(10));
    // Fails for every window that was expected and never answered.
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers &) = delete;
    ModalAnswers &operator=(const ModalAnswers &) = delete;

    // The next window called `name`: `answer` runs once it is open (and
    // `ready` says so); it must close the window (or open the next one).
    ModalAnswers &dialog(const QString &name, Step answer, Ready ready = {});
    // The next message box: noted in shown(), then answered with `button`
    // (Escape's answer when the box has no such button).
    ModalAnswers &messageBox(QMessageBox::StandardButton button);
    // The next file dialog: `check` sees it, then `path` is chosen and the
    // dialog accepted; an empty path cancels it.
    ModalAnswers &fileDialog(const QString &path, std::function<void(QFileDialog &)> check = {});
    // The next pop-up menu: `answer` sees it and closes it or picks an entry.
    ModalAnswers &popupMenu(Step answer);

    // Runs the event loop until every expected window has been answered and
    // is closed, or fails at the deadline. True when all went as expected.
    bool finish();

    // Runs `open` (which blocks in the first window's loop) and finishes.
    template <class Open>
    auto run(Open &&open)
    {
        if constexpr (std::is_void_v<decltype(open())>) {
            std::forward<Open>(open)();
            finish();
        } else {
            auto result = std::forward<Open>(open)();
            finish();
            return result;
        }
    }

    const QList<ShownBox> &shown() const { return m_shown; }
    int pending() const { return int(m_expected.size()); }

private:
    struct Expected {
        QString name;
        Step answer;
        Ready ready;
        Step prepare;         // once, when first seen (and again before a retry)
        bool retry = false;   // answer again while the window stays open
    };

    void poll();
    void answer(QWidget &window);
    void giveUp(const QString &why);
    void restartClock();
    bool pastDeadline() const;

    std::chrono::milliseconds m_deadline;
    std::deque<Expected> m_expected;
    QList<ShownBox> m_shown;
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_since;
    QPointer<QWidget> m_seen;       // the expected window, seen but not yet answered
    QPointer<QWidget> m_answered;   // the last window answered, until it closes
    Expected m_lastAnswered;
    std::chrono::steady_clock::time_point m_lastTry;
    bool m_failed = false;
};

// The modal window or pop-up menu on top, if any.
QWidget *openModalWindow();
// Closes every pop-up and modal window; returns what it closed, for messages.
QString closeModalWindows();
// Installs a watchdog for the whole test binary: a test that leaves a modal
// window or pop-up open for longer than `limit` fails and the window is
// closed, so that no test waits for ever on a window nobody answers.
void installModalWatchdog(std::chrono::milliseconds limit);

} // namespace zuno::test
