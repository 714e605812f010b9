// The Record -> List conversion reads ASCII lines as bytes and counts
// characters as UTF-16 units only where it must: on random texts of every
// kind it gives what the conversion of the decoded lines gives, byte for
// byte and fault for fault, also through a sink and as a comparison.
#include "format/ListByUnits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace zuno {
namespace {

// What the lines of one kind of text are made of.
struct Kind {
    const char *name;
    std::vector<const char *> codes;  // an item's code, colon included (or not: an invalid item)
    std::vector<const char *> values; // a value; a PL item takes several, joined with commas
    std::vector<const char *> gaps;   // what stands between two items, before and after a line
    int maxValues;                    // the most values a PL item takes
};

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> table = {
        {"ASCII", {"AC:", "BG:", "PL:", "XX:", "CP:", "AC:OS"}, {"1", "22", "A1", "REMARK", ""}, {"  ", ""}, 12},
        {"beyond ASCII",
         {"AC:", "PL:", "\xc3\xa9:", "PL:", "NM:"},
         {"\xc3\xa9", "\xe4\xb8\xad\xe6\x96\x87", "\xf0\x9f\x98\x80", "7", "x\xc2\xa0y"},
         {"  ", ""},
         30},
        {"odd spacing",
         {"AC:", "PL:", "XX:", "", ":", " PL:"},
         {"1", "a b", " ", "2 ", "", "c:d"},
         {"  ", "   ", " ", "    ", "", "\t"},
         10},
        {"long value lists",
         {"PL:", "       PL:", "  PL:", "AC:"},
         {"100", "7", "123456789012345678901234567890", ",", "\xc3\xa9\xc3\xa9", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80"},
         {"  ", ""},
         60},
        {"malformed bytes and lone breaks",
         {"AC:", "PL:", "XX:", "\xff:"},
         {"\xff", "\xc3", "\xed\xa0\x80", "a\rb", "\n", "1"},
         {"  ", ""},
         20},
    };
    return table;
}

template <typename T>
const T &any(std::mt19937 &rng, const std::vector<T> &from)
{
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

QByteArray randomLine(std::mt19937 &rng, const Kind &kind)
{
    std::uniform_int_distribution<int> items(0, 4);
    std::uniform_int_distribution<int> values(1, kind.maxValues);
    QByteArray line = any(rng, kind.gaps);
    for (int i = items(rng); i > 0; --i) {
        const QByteArray code = any(rng, kind.codes);
        line += code;
        const int count = code.contains("PL:") ? values(rng) : 1;
        for (int v = 0; v < count; ++v) {
            if (v > 0)
                line += ',';
            line += any(rng, kind.values);
        }
        line += any(rng, kind.gaps);
    }
    return line;
}

TEST(ListByUnits, BytesGiveWhatTheDecodedLinesGiveOnRandomTexts)
{
    std::mt19937 rng(1937);
    std::uniform_int_distribution<int> lines(0, 25);
    for (const Kind &kind : kinds()) {
        int converted = 0;
        for (int round = 0; round < 1500; ++round) {
            QByteArray text;
            for (int i = lines(rng); i > 0; --i)
                text += randomLine(rng, kind) + (i > 1 ? "\r\n" : "");
            SCOPED_TRACE(kind.name + std::string(": ") + text.toStdString());

            const auto general = convertToListLayoutByUnits(text);
            const auto bytes = convertToListLayout(text);
            ASSERT_EQ(bytes.ok(), general.ok());
            QByteArray sunk;
            const auto throughSink = convertToListLayout(text, [&](QByteArrayView piece) { sunk += piece; });
            ASSERT_EQ(throughSink.ok(), general.ok());
            if (!general.ok()) {
                ASSERT_EQ(bytes.error(), general.error());
                ASSERT_EQ(throughSink.error(), general.error());
                continue;
            }
            ++converted;
            ASSERT_EQ(bytes.value(), general.value());
            ASSERT_EQ(sunk, general.value());
            ASSERT_TRUE(listLayoutEquals(text, general.value()));
            ASSERT_FALSE(listLayoutEquals(text, general.value() + "X"));
        }
        // Most texts of every kind convert, so the comparison sees results.
        EXPECT_GT(converted, 500) << kind.name;
    }
}

} // namespace
} // namespace zuno
