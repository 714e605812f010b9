// The lines of a text as the control shows them and the printer prints them.
#include "text/TextLines.h"

#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(SplitTextLinesTest, SplitsAtEveryLineBreak)
{
    using Spans = QList<TextLineSpan>;
    EXPECT_EQ(splitTextLines(QByteArrayView()), (Spans{{0, 0, 0}}));
    EXPECT_EQ(splitTextLines(QByteArrayView("AC:1")), (Spans{{0, 4, 0}}));
    EXPECT_EQ(splitTextLines(QByteArrayView("AC:1\r\nBG:5")), (Spans{{0, 4, 2}, {6, 4, 0}}));
    EXPECT_EQ(splitTextLines(QByteArrayView("AC:1\r\n")), (Spans{{0, 4, 2}, {6, 0, 0}}));
    EXPECT_EQ(splitTextLines(QByteArrayView("\r\n\r\n")), (Spans{{0, 0, 2}, {2, 0, 2}, {4, 0, 0}}));
    // A lone carriage return or line feed ends a line too.
    EXPECT_EQ(splitTextLines(QByteArrayView("A\nB\rC")), (Spans{{0, 1, 1}, {2, 1, 1}, {4, 1, 0}}));
    EXPECT_EQ(splitTextLines(QByteArrayView("A\r\r\nB")), (Spans{{0, 1, 1}, {2, 0, 2}, {4, 1, 0}}));
}

} // namespace
