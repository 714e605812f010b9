#pragma once
// The other ZUNOPad windows, found through the file system and the session
// bus. A window that holds a file keeps a lock file for it in the user's
// runtime folder (a lock whose process has ended counts for nothing); each
// window offers itself on the session bus as org.zunopad.ZUNOPad.p<pid>,
// object /Editor, to be brought forward and asked where it stands. Without
// a session bus a holder is still known, but cannot be reached.
#include "platform/PeerWindows.h"

#include <QObject>
#include <QLockFile>

#include <memory>

class QWidget;

namespace zuno {

class SessionPeers : public QObject, public IPeerWindows {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zunopad.ZUNOPad")
public:
    // `window` is what the other windows bring forward and ask about.
    explicit SessionPeers(QWidget &window);
    ~SessionPeers() override;

    void hold(const QString &path) override;
    HeldElsewhere bringForwardHolder(const QString &path) override;
    QList<QPoint> places() const override;

    // Whether this window is on a session bus.
    bool onBus() const { return m_onBus; }

public slots:
    // Called over the bus by the other windows.
    Q_SCRIPTABLE bool bringForward();
    Q_SCRIPTABLE QString place();

private:
    QWidget &m_window;
    std::unique_ptr<QLockFile> m_lock;
    QString m_heldPath;
    bool m_onBus = false;
};

} // namespace zuno
