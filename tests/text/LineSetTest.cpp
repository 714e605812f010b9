// The set of lines against a plain sorted map after random steps: lines
// put in, taken out and moved by lines inserted and removed around them.
#include "text/LineSet.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace zuno {
namespace {

TEST(LineSet, AgreesWithASortedMapAfterRandomSteps)
{
    std::mt19937 rng(37);
    const auto below = [&rng](qint64 n) { return std::uniform_int_distribution<qint64>(0, n - 1)(rng); };
    for (int round = 0; round < 50; ++round) {
        LineSet set;
        std::map<qint64, LineSet::Value> model;
        qint64 lines = 1 + below(400);
        for (int step = 0; step < 300; ++step) {
            if (below(3) > 0) {
                const qint64 line = below(lines);
                const auto value = LineSet::Value(below(LineSet::MaxValue + 1));
                set.set(line, value);
                if (value == 0)
                    model.erase(line);
                else
                    model[line] = value;
            } else {
                // Lines from..to give way to `made` others.
                const qint64 from = below(lines);
                const qint64 to = from + below(std::min<qint64>(lines - from, 30));
                const qint64 made = below(30);
                const qint64 delta = made - (to - from + 1);
                set.replaceLines(from, to, delta);
                std::map<qint64, LineSet::Value> moved;
                for (const auto &[line, value] : model)
                    if (line < from || line > to)
                        moved[line > to ? line + delta : line] = value;
                model = std::move(moved);
                lines = std::max<qint64>(1, lines + delta);
            }
            ASSERT_EQ(set.size(), qint64(model.size()));
            const qint64 probe = below(lines + 2) - 1;
            const auto atOrAfter = model.lower_bound(probe);
            const auto after = model.upper_bound(probe);
            ASSERT_EQ(set.next(probe), atOrAfter == model.end() ? -1 : atOrAfter->first);
            ASSERT_EQ(set.previous(probe), after == model.begin() ? -1 : std::prev(after)->first);
            ASSERT_EQ(set.countBefore(probe), std::distance(model.begin(), atOrAfter));
            ASSERT_EQ(set.value(probe), atOrAfter != model.end() && atOrAfter->first == probe ? atOrAfter->second : 0);
            for (LineSet::Value value = 1; value <= LineSet::MaxValue; ++value)
                ASSERT_EQ(set.count(value), std::count_if(model.begin(), model.end(),
                                                          [value](const auto &entry) { return entry.second == value; }));
        }
    }
}

} // namespace
} // namespace zuno
