#include "platform/qt/QuietScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace zuno {

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent) {}

QuietScrollBar::Look QuietScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return Look{style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                isEnabled() && minimum() != maximum(), value() == minimum(), value() == maximum()};
}

void QuietScrollBar::sliderChange(SliderChange change)
{
    // A bar not yet painted (hidden, or before its first paint) takes every
    // change, as does one whose look the change altered.
    if (!isVisible() || look() != m_painted)
        QScrollBar::sliderChange(change);
}

void QuietScrollBar::paintEvent(QPaintEvent *event)
{
    m_painted = look();
    QScrollBar::paintEvent(event);
}

} // namespace zuno
