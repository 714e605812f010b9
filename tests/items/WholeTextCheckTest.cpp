// The whole text's check off the window's thread: a check stopped, or
// started before another, never hands over its result, so that no stale
// result marks the lines of a text that has changed since.
#include "items/WholeTextCheck.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace zuno {
namespace {

TEST(WholeTextCheck, OnlyTheLastCheckNotStoppedHandsOverItsResult)
{
    const QByteArray first = "AC:1\r\nX Y\r\nBG:1";         // one problem, on the second line
    const QByteArray second = "AC:1\r\nBG:1\r\nEG:2\r\nX Y"; // one, on the fourth
    std::vector<qint64> handed; // where each result's first problem stands
    WholeTextCheck check([&](WholeTextCheck::Result &result) {
        handed.push_back(result.problems.empty() ? -1 : result.problems.front().position);
    });
    const auto settle = [] {
        // Long enough for a check of a few bytes to be over, its result
        // (if it sent one) waiting to be taken.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        QCoreApplication::processEvents();
    };

    check.start(first, false);
    settle();
    ASSERT_EQ(handed, std::vector<qint64>{6}) << "a check left alone hands over its result";
    EXPECT_FALSE(check.running());

    // Stopped, before or after it found its result: nothing comes.
    check.start(first, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(check.stop());
    settle();
    EXPECT_EQ(handed.size(), 1u);

    // Started again before the result of the one before was taken: only
    // the later result comes.
    check.start(first, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    check.start(second, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() == 2; }, 5000));
    settle();
    EXPECT_EQ(handed, (std::vector<qint64>{6, 18}));
    EXPECT_FALSE(check.stop()) << "nothing under way";
}

} // namespace
} // namespace zuno
