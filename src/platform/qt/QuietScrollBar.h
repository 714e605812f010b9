#pragma once
// A scroll bar that repaints only when what it shows changes. Qt repaints a
// scroll bar whole on every change of its range or steps, and the edit
// control changes them as it goes: a line more on each Enter, a longer
// widest line on each letter typed at its end. On a long text such a change
// seldom moves the slider by a pixel, but its repaint (the height of the
// window, filled on Qt's worker threads) cost about a sixth of a key's time
// to the screen.
#include <QScrollBar>

namespace zuno {

class QuietScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit QuietScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    // What the bar shows: the slider's place and size, and whether it can
    // move at all, or further either way.
    struct Look {
        QRect slider;
        bool enabled = false;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look &) const = default;
    };
    Look look() const;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_painted;
};

} // namespace zuno
