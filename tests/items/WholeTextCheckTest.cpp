// The whole text's check off the window's thread: a check stopped, or
// started before another, never hands over its result, so that no stale
// result marks the lines of a text that has changed since.
#include "items/WholeTextCheck.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
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
    // A result is handed over through the event queue: once stop() has
    // joined the check's thread, whatever it sent is queued already.
    const auto takeQueued = [] { QCoreApplication::processEvents(); };
    // Until the check has found its result, which stays queued meanwhile
    // (this thread's events are not handled).
    const auto letItFinish = [&check] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!check.found() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return check.found();
    };

    check.start(first, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !handed.empty(); }, 5000)) << "a check left alone hands over its result";
    EXPECT_EQ(handed, std::vector<qint64>{6});
    EXPECT_FALSE(check.running());

    // Stopped after it found its result, not yet taken: nothing comes.
    check.start(first, false);
    ASSERT_TRUE(letItFinish());
    EXPECT_TRUE(check.stop());
    takeQueued();
    EXPECT_EQ(handed.size(), 1u);

    // Started again before the result of the one before was taken: only
    // the later result comes (a result of the first would come before it).
    check.start(first, false);
    ASSERT_TRUE(letItFinish());
    check.start(second, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() >= 2; }, 5000));
    takeQueued();
    EXPECT_EQ(handed, (std::vector<qint64>{6, 18}));
    EXPECT_FALSE(check.stop()) << "nothing under way";
}

// A List text's problems are found as its records are read, in one pass
// (in two parts side by side for a large text): the same problems, in the
// same order, as the check on its own finds.
TEST(WholeTextCheck, AListTextsProblemsAreFoundWithItsRecords)
{
    std::mt19937 random(41);
    const QByteArray pieces[] = {"AC:1", "BG:2", "NM:A B", "X Y", "  ", " ", ":", "\xc3\xa9", "\xff",
                                 "\r\n", "\r\n", "\r\n", "\r", "\n"};
    const auto noise = [&](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        return text;
    };
    std::vector<QByteArray> texts;
    for (int i = 0; i < 300; ++i)
        texts.push_back(noise(int(random() % 200)));
    // Large enough to be read in two parts, with problems in both.
    QByteArray large;
    while (large.size() < (qsizetype(9) << 20))
        large += "AC:1\r\nBG:2\r\nPL:1,2\r\n" + noise(3) + "\r\n";
    texts.push_back(large);
    for (const QByteArray &text : texts) {
        const std::vector<ItemMarks::Found> alone = ItemMarks::findAll(text, false);
        ASSERT_EQ(WholeTextCheck::run(text, false).problems, alone) << text.left(300).toStdString();
        if (text.size() > (qsizetype(8) << 20)) {
            ASSERT_GT(alone.size(), 100u);
            ASSERT_LT(alone.front().position, text.size() / 4);
            ASSERT_GT(alone.back().position, text.size() * 3 / 4);
        }
    }
}

} // namespace
} // namespace zuno
