#include "window/StatusFields.h"

#include <QLabel>
#include <QStatusBar>

namespace zuno {

StatusFields::StatusFields(QStatusBar *bar) : QObject(bar), m_bar(bar) {}

void StatusFields::setField(const QString &name, const QString &text)
{
    QLabel *&label = m_labels[name];
    if (!label) {
        label = new QLabel(m_bar);
        label->setObjectName(name);
        // A little room either side, so that the fields do not run together.
        label->setContentsMargins(6, 0, 6, 0);
        // A field never holds the window wider than the text asks for: it
        // may be cut short instead.
        label->setMinimumWidth(1);
        m_bar->addPermanentWidget(label);
    }
    if (label->text() != text)
        label->setText(text);
}

QString StatusFields::field(const QString &name) const
{
    const QLabel *label = m_labels.value(name);
    return label ? label->text() : QString();
}

} // namespace zuno
