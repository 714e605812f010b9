#include "platform/qt/StatusFields.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <vector>

namespace zuno {

// The fields stand side by side in a strip that places them itself. A
// field whose text changes but keeps its width (the caret's place, as a
// key moves it) repaints itself and nothing more, where a layout would
// work out the geometry of the whole window again on every key.
class StatusFieldStrip : public QWidget {
public:
    explicit StatusFieldStrip(QWidget *parent) : QWidget(parent) {}

    void add(QLabel *field)
    {
        m_fields.push_back(field);
        field->show();
        placeFields();
    }

    QSize sizeHint() const override
    {
        QSize hint(0, 0);
        for (const QLabel *field : m_fields) {
            const QSize wanted = field->sizeHint();
            hint = {hint.width() + wanted.width(), std::max(hint.height(), wanted.height())};
        }
        return hint;
    }
    // The strip never holds the window wider than the text asks for: its
    // fields may be cut short instead.
    QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }

protected:
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::LayoutRequest: // a field's text changed
            placeFields();
            return true;
        case QEvent::Show:
            // A field that changed while the strip was hidden asked nothing.
            placeFields();
            updateGeometry();
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }

    void resizeEvent(QResizeEvent *) override { placeFields(); }

private:
    void placeFields()
    {
        const QSize hint = sizeHint();
        if (hint != m_hint) {
            m_hint = hint;
            updateGeometry();
        }
        // The fields keep to the right end; in less room than they ask
        // for, each gives up its share.
        const int room = width();
        const int wanted = std::max(m_hint.width(), 1);
        int x = std::max(room - wanted, 0);
        for (QLabel *field : m_fields) {
            const int asked = field->sizeHint().width();
            const int fieldWidth = room >= wanted ? asked : int(qint64(asked) * room / wanted);
            const QRect place(x, 0, fieldWidth, height());
            if (field->geometry() != place)
                field->setGeometry(place);
            x += fieldWidth;
        }
    }

    std::vector<QLabel *> m_fields;
    // The size last asked of the status bar.
    QSize m_hint{0, 0};
};

StatusFields::StatusFields(QStatusBar *bar) : QObject(bar), m_bar(bar) {}

void StatusFields::setField(const QString &name, const QString &text)
{
    QLabel *&label = m_labels[name];
    if (!label) {
        if (!m_strip) {
            m_strip = new StatusFieldStrip(m_bar);
            m_bar->addPermanentWidget(m_strip);
        }
        label = new QLabel(m_strip);
        label->setObjectName(name);
        // A little room either side, so that the fields do not run together.
        label->setContentsMargins(6, 0, 6, 0);
        label->setText(text);
        m_strip->add(label);
        return;
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
