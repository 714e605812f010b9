// After a save from the Record view, the Record layout of what was written is
// built only where it differs from the text shown.
#include "document/RecordViewSave.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

TEST(RecordViewSave, RecordLayoutIsBuiltOnlyWhereItDiffersFromTheTextShown)
{
    // Record layout of "AC:1\r\nBG:2\r\nXX:3": "AC:1\r\nBG:2  XX:3".
    const QByteArray list = "AC:1\r\nBG:2\r\nXX:3";
    struct Case {
        const char *shown;
        std::optional<QByteArray> expected; // nothing: the text shown stays
    };
    const Case cases[] = {
        {"AC:1\r\nBG:2  XX:3", std::nullopt},
        {"AC:1  BG:2  XX:3", QByteArray("AC:1\r\nBG:2  XX:3")},  // differs in the middle
        {"AC:1\r\nBG:2  XX:3\r\nEG:4", QByteArray("AC:1\r\nBG:2  XX:3")}, // the shown text runs on
        {"AC:1", QByteArray("AC:1\r\nBG:2  XX:3")},               // it stops short
        {"", QByteArray("AC:1\r\nBG:2  XX:3")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        const auto record = recordLayoutUnlessShown(list, c.shown);
        ASSERT_TRUE(record.ok());
        EXPECT_EQ(record.value(), c.expected);
    }
    // An empty text shown as something is shown empty.
    const auto empty = recordLayoutUnlessShown("", "   ");
    ASSERT_TRUE(empty.ok());
    ASSERT_TRUE(empty.value().has_value());
    EXPECT_TRUE(empty.value()->isEmpty());
    // A text that cannot be shown as records fails as the conversion does.
    const auto invalid = recordLayoutUnlessShown("AC:1\r\nB", "AC:1");
    ASSERT_FALSE(invalid.ok());
    EXPECT_EQ(invalid.error().lineNumber, 1);
}

} // namespace
} // namespace zuno
