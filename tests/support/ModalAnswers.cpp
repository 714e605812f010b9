#include "support/ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace zuno::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int PollMs = 10;
// How long a file dialog that is still open after its answer is given before
// it is asked again (it may have been busy listing its folder).
constexpr auto RetryAfter = std::chrono::milliseconds(200);

bool isNamed(const QWidget &window, const QString &name)
{
    return window.objectName() == name || window.inherits(name.toLatin1().constData());
}

QString describe(const QWidget *window)
{
    if (!window)
        return QStringLiteral("nothing");
    QString what = QString::fromLatin1(window->metaObject()->className());
    if (!window->objectName().isEmpty())
        what += QStringLiteral(" '%1'").arg(window->objectName());
    if (!window->windowTitle().isEmpty())
        what += QStringLiteral(" titled \"%1\"").arg(window->windowTitle());
    if (auto *box = qobject_cast<const QMessageBox *>(window))
        what += QStringLiteral(" saying \"%1\"").arg(box->text());
    if (auto *files = qobject_cast<const QFileDialog *>(window))
        what += QStringLiteral(" in %1 with %2 selected")
                    .arg(files->directory().path(), files->selectedFiles().join(QLatin1Char(',')));
    return what;
}

} // namespace

QWidget *openModalWindow()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    return QApplication::activeModalWidget();
}

QString closeModalWindows()
{
    QStringList closed;
    // A bounded loop: each round closes the window on top.
    for (int round = 0; round < 20; ++round) {
        QWidget *window = openModalWindow();
        if (!window)
            break;
        closed << describe(window);
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->done(QDialog::Rejected);
        else
            window->close();
        QApplication::processEvents();
    }
    return closed.isEmpty() ? QStringLiteral("nothing") : closed.join(QStringLiteral(", "));
}

ModalAnswers::ModalAnswers(std::chrono::milliseconds deadline) : m_deadline(deadline)
{
    restartClock();
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(PollMs);
}

ModalAnswers::~ModalAnswers()
{
    m_timer.stop();
    for (const Expected &expected : m_expected)
        ADD_FAILURE() << "the window '" << expected.name.toStdString()
                      << "' was expected and never answered";
}

ModalAnswers &ModalAnswers::dialog(const QString &name, Step answer, Ready ready)
{
    m_expected.push_back({name, std::move(answer), std::move(ready), {}, false});
    return *this;
}

ModalAnswers &ModalAnswers::messageBox(QMessageBox::StandardButton button)
{
    return dialog(QStringLiteral("QMessageBox"), [this, button](QWidget &window) {
        auto &box = static_cast<QMessageBox &>(window);
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        if (QPushButton *pushButton = box.defaultButton())
            defaultButton = box.standardButton(pushButton);
        m_shown.append({box.text(), box.windowTitle(), box.icon(), box.standardButtons(), defaultButton});
        if (QAbstractButton *pressed = box.button(button))
            pressed->click();
        else
            box.reject();
    });
}

ModalAnswers &ModalAnswers::fileDialog(const QString &path, std::function<void(QFileDialog &)> check)
{
    Expected expected;
    expected.name = QStringLiteral("QFileDialog");
    const QString chosen = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    bool checked = false;
    expected.prepare = [check, chosen, checked](QWidget &window) mutable {
        auto &dialog = static_cast<QFileDialog &>(window);
        if (check && !checked)
            check(dialog);
        checked = true;
        if (!chosen.isEmpty())
            dialog.selectFile(chosen);
    };
    // The dialog lists its folder on a thread of its own; until it has, an
    // accept may navigate instead. Answer once the chosen file is what the
    // dialog would return.
    expected.ready = [chosen](QWidget &window) {
        if (chosen.isEmpty())
            return true;
        const QStringList selected = static_cast<QFileDialog &>(window).selectedFiles();
        return selected.size() == 1 && QFileInfo(selected.first()).absoluteFilePath() == chosen;
    };
    expected.answer = [chosen](QWidget &window) {
        auto &dialog = static_cast<QFileDialog &>(window);
        if (chosen.isEmpty())
            dialog.reject();
        else
            QMetaObject::invokeMethod(&dialog, "accept");
    };
    expected.retry = true;
    m_expected.push_back(std::move(expected));
    return *this;
}

ModalAnswers &ModalAnswers::popupMenu(Step answer)
{
    return dialog(QStringLiteral("QMenu"), std::move(answer));
}

void ModalAnswers::restartClock()
{
    m_since = Clock::now();
}

bool ModalAnswers::pastDeadline() const
{
    return Clock::now() - m_since > m_deadline;
}

void ModalAnswers::giveUp(const QString &why)
{
    m_failed = true;
    const QString closed = closeModalWindows();
    ADD_FAILURE() << why.toStdString() << " within " << m_deadline.count()
                  << " ms; closed " << closed.toStdString();
    m_expected.clear();
    m_seen = nullptr;
    m_answered = nullptr;
}

void ModalAnswers::answer(QWidget &window)
{
    Expected expected = std::move(m_expected.front());
    m_expected.pop_front();
    m_answered = &window;
    m_seen = nullptr;
    m_lastTry = Clock::now();
    restartClock();
    expected.answer(window);
    m_lastAnswered = std::move(expected);
}

void ModalAnswers::poll()
{
    QWidget *open = openModalWindow();

    // The window answered last must close (or open another on top of it).
    if (m_answered && open == m_answered) {
        if (m_lastAnswered.retry && Clock::now() - m_lastTry > RetryAfter) {
            m_lastTry = Clock::now();
            if (m_lastAnswered.prepare)
                m_lastAnswered.prepare(*open);
            if (!m_lastAnswered.ready || m_lastAnswered.ready(*open))
                m_lastAnswered.answer(*open);
        } else if (pastDeadline()) {
            giveUp(QStringLiteral("the window '%1' did not close after its answer").arg(m_lastAnswered.name));
        }
        return;
    }
    if (!open || (m_answered && !m_answered->isVisible()))
        m_answered = nullptr;

    if (m_expected.empty()) {
        if (open && open != m_answered && pastDeadline())
            giveUp(QStringLiteral("an unexpected window was open: %1").arg(describe(open)));
        return;
    }

    Expected &next = m_expected.front();
    if (open && isNamed(*open, next.name) && open != m_answered) {
        if (m_seen != open) {
            m_seen = open;
            m_lastTry = Clock::now();
            restartClock();
            if (next.prepare)
                next.prepare(*open);
        }
        if (!next.ready || next.ready(*open)) {
            answer(*open);
        } else if (next.prepare && Clock::now() - m_lastTry > RetryAfter) {
            // Not ready yet: the window may have undone the preparation.
            m_lastTry = Clock::now();
            next.prepare(*open);
        } else if (pastDeadline())
            giveUp(QStringLiteral("the window '%1' never became ready for its answer (%2)")
                       .arg(next.name, describe(open)));
        return;
    }
    if (pastDeadline()) {
        if (open)
            giveUp(QStringLiteral("waited for the window '%1', but %2 was open").arg(next.name, describe(open)));
        else
            giveUp(QStringLiteral("the window '%1' did not appear").arg(next.name));
    }
}

bool ModalAnswers::finish()
{
    restartClock();
    while (!m_expected.empty() || openModalWindow()) {
        QApplication::processEvents(QEventLoop::AllEvents, PollMs);
        if (m_failed || (m_expected.empty() && !openModalWindow()))
            break;
        if (pastDeadline()) {
            if (!m_expected.empty())
                giveUp(QStringLiteral("the window '%1' did not appear").arg(m_expected.front().name));
            else
                giveUp(QStringLiteral("a window stayed open: %1").arg(describe(openModalWindow())));
            break;
        }
    }
    return !m_failed;
}

namespace {

// Closes a modal window that stays open too long in any test.
class ModalWatchdog : public ::testing::EmptyTestEventListener {
public:
    explicit ModalWatchdog(std::chrono::milliseconds limit) : m_limit(limit)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { check(); });
    }
    void OnTestStart(const ::testing::TestInfo &) override
    {
        m_window = nullptr;
        m_timer.start(100);
    }
    void OnTestEnd(const ::testing::TestInfo &) override { m_timer.stop(); }

private:
    void check()
    {
        QWidget *open = openModalWindow();
        if (open != m_window) {
            m_window = open;
            m_since = Clock::now();
            return;
        }
        if (open && Clock::now() - m_since > m_limit) {
            const QString closed = closeModalWindows();
            ADD_FAILURE() << "a modal window stayed open for " << m_limit.count()
                          << " ms with nobody to answer it; closed " << closed.toStdString();
            m_window = nullptr;
        }
    }

    std::chrono::milliseconds m_limit;
    QTimer m_timer;
    QPointer<QWidget> m_window;
    Clock::time_point m_since;
};

} // namespace

void installModalWatchdog(std::chrono::milliseconds limit)
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalWatchdog(limit));
}

} // namespace zuno::test
