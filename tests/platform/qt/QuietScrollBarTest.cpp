// A scroll bar repaints for a change of its range or value only where the
// slider moved or changed its size.
#include "platform/qt/QuietScrollBar.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST(QuietScrollBar, RepaintsOnlyWhereTheSliderMoved)
{
    const struct {
        const char *change;
        std::function<void(QScrollBar &)> make;
        bool repainted;
    } cases[] = {
        {"a line more of a million", [](QScrollBar &bar) { bar.setMaximum(bar.maximum() + 1); }, false},
        {"a tenth of the range", [](QScrollBar &bar) { bar.setMaximum(100'000); }, false}, // the slider at its least
        {"a range of a hundred", [](QScrollBar &bar) { bar.setMaximum(100); }, true},
    };
    for (const auto &c : cases) {
        QuietScrollBar bar(Qt::Vertical);
        bar.resize(16, 300);
        bar.setRange(0, 1'000'000);
        bar.setPageStep(40);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        QCoreApplication::processEvents();
        PaintCounter counter;
        bar.installEventFilter(&counter);
        c.make(bar);
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints > 0, c.repainted) << c.change;
    }
}

} // namespace
