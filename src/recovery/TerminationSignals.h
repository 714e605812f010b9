#pragma once
// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) turned
// into a Qt signal on the event loop: the handler only writes the signal's
// number into a pipe, which a socket notifier reads.

#include <QObject>

class QSocketNotifier;

namespace zuno {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One per process.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace zuno
