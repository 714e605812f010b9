// The key-to-screen benchmark's arithmetic: the rank of a percentile and the
// matching of Vim's marks to the keys sent.
#include "editor/KeyScreenStats.h"

#include <gtest/gtest.h>

using namespace zuno::bench;

TEST(KeyScreenStats, APercentileIsTheValueOfItsNearestRank)
{
    const std::vector<double> hundred = [] {
        std::vector<double> values;
        for (int i = 100; i >= 1; --i)
            values.push_back(i);
        return values;
    }();
    struct Case {
        std::vector<double> values;
        double fraction;
        double expected;
    };
    const Case cases[] = {
        {{}, 0.5, 0},
        {{7}, 0.99, 7},
        {{3, 1, 2}, 0.5, 2},
        {{3, 1, 2, 4}, 0.5, 2},
        {hundred, 0.99, 99},
        {hundred, 1.0, 100},
        {{5, 1, 4, 2, 3}, 0.99, 5}, // under a hundred values the p99 is the slowest
    };
    for (const Case &c : cases)
        EXPECT_EQ(rankValue(c.values, c.fraction), c.expected) << c.values.size() << " values at " << c.fraction;
}

TEST(KeyScreenStats, EachKeyTakesTheFirstMarkAfterItThatCountsAFurtherChange)
{
    // Marks: idle before the first key, the first key's, a mark of no
    // change (a redraw), one update for two keys, nothing for the last.
    const std::vector<VimMark> marks = {{5, 90}, {5, 101}, {6, 103}, {6, 140}, {8, 230}};
    const std::vector<double> sent = {100, 200, 210, 300};
    const std::vector<double> expected = {3, 30, 20, -1};
    EXPECT_EQ(matchMarks(marks, sent, 1000), expected);
    EXPECT_EQ(matchMarks({{1, 2000}}, {100}, 1000), std::vector<double>{-1}) << "past the deadline";
}
