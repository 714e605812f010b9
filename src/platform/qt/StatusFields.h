#pragma once
// The fields of the main window's status bar: small labels kept at its
// right end, each known by a name, in the order they were first set, and
// cut short when the window is too narrow for them. Any feature may add a
// field of its own with setField; the transient messages of
// QStatusBar::showMessage stand at the left as usual.
#include <QMap>
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace zuno {

class StatusFieldStrip;

class StatusFields : public QObject {
    Q_OBJECT
public:
    explicit StatusFields(QStatusBar *bar);

    // Shows `text` in the field `name`, which is made on first use (its
    // label's objectName is `name`). Setting the text it already shows
    // costs nothing.
    void setField(const QString &name, const QString &text);
    // The field's text; empty for a field never set.
    QString field(const QString &name) const;

private:
    QStatusBar *m_bar;
    StatusFieldStrip *m_strip = nullptr;
    QMap<QString, QLabel *> m_labels;
};

} // namespace zuno
