#include "platform/qt/StatusFields.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

// Counts the relayouts asked of the window.
struct LayoutRequests : QObject {
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++count;
        return false;
    }
};

} // namespace

TEST(StatusFields, OnlyAFieldWiderThanEverRelaysOutTheWindowAndItIsShownWhole)
{
    QMainWindow window;
    StatusFields fields(window.statusBar());
    fields.setField(QStringLiteral("stbPosition"), QStringLiteral("Ln 1, Col 1"));
    fields.setField(QStringLiteral("stbView"), QStringLiteral("List"));
    window.resize(600, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000));
    QCoreApplication::sendPostedEvents();
    auto *position = window.findChild<QLabel *>(QStringLiteral("stbPosition"));
    ASSERT_NE(position, nullptr);

    LayoutRequests requests;
    window.installEventFilter(&requests);
    window.statusBar()->installEventFilter(&requests);
    fields.setField(QStringLiteral("stbPosition"), QStringLiteral("Ln 123456, Col 7890"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return position->width() == position->sizeHint().width(); }, 5000));
    EXPECT_GT(requests.count, 0);
    // Back to a shorter text: the field keeps its width, and nothing moves.
    QCoreApplication::processEvents(); // the window's own relayout after the bar's
    const int wide = position->width();
    const int asked = requests.count;
    fields.setField(QStringLiteral("stbPosition"), QStringLiteral("Ln 1, Col 3"));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(requests.count, asked);
    EXPECT_EQ(position->width(), wide);
    EXPECT_EQ(position->text(), QStringLiteral("Ln 1, Col 3"));
    // A narrow window cuts the fields short rather than being held wide.
    EXPECT_LT(window.minimumSizeHint().width(), position->sizeHint().width());
}
