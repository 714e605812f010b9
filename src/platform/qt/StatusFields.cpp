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
        m_widest.push_back(0);
        field->show();
        placeFields();
    }

    QSize sizeHint() const override
    {
        QSize hint(0, 0);
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const QSize wanted = m_fields[i]->sizeHint();
            hint = {hint.width() + std::max(wanted.width(), m_widest[i]), std::max(hint.height(), wanted.height())};
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
        // Squeezed, the fields ask only for what their texts take now.
        const bool squeezed = width() < m_hint.width() && isVisible();
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const int asked = m_fields[i]->sizeHint().width();
            m_widest[i] = squeezed ? asked : std::max(m_widest[i], asked);
        }
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
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const int fieldWidth = room >= wanted ? m_widest[i] : int(qint64(m_widest[i]) * room / wanted);
            const QRect place(x, 0, fieldWidth, height());
            if (m_fields[i]->geometry() != place)
                m_fields[i]->setGeometry(place);
            x += fieldWidth;
        }
    }

    std::vector<QLabel *> m_fields;
    // Each field keeps the widest it has been while there is room, so that
    // the fields do not shift (nor the window lay itself out again) as the
    // caret's place grows and shrinks a digit.
    std::vector<int> m_widest;
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
