// The search history kept in the settings, and the marks and count of the
// last search's matches, against the doubles.
#include "search/MatchHighlight.h"
#include "search/SearchHistory.h"

#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMatchMarks.h"
#include "platform/doubles/FakeSettings.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(SearchHistoryTest, KeepsTheLastTwentyTextsNewestFirstAcrossRuns)
{
    FakeSettings settings;
    {
        SearchHistory history(settings, SearchHistory::findKey());
        for (int i = 1; i <= 25; ++i)
            history.add(QStringLiteral("T%1").arg(i));
        history.add(QString());
        history.add(QStringLiteral("T10"));
        history.add(QStringLiteral("quote \" comma, line\nbreak"));
    }
    // Another run reads what this one wrote.
    const QStringList texts = SearchHistory(settings, SearchHistory::findKey()).entries();
    ASSERT_EQ(texts.size(), SearchHistory::Size);
    EXPECT_EQ(texts[0], QStringLiteral("quote \" comma, line\nbreak"));
    EXPECT_EQ(texts[1], QStringLiteral("T10"));
    EXPECT_EQ(texts[2], QStringLiteral("T25"));
    EXPECT_EQ(texts.count(QStringLiteral("T10")), 1);
    EXPECT_EQ(texts.last(), QStringLiteral("T7")) << "T6, the oldest, went";
    EXPECT_TRUE(SearchHistory(settings, SearchHistory::replaceKey()).entries().isEmpty());
}

class MatchHighlightTest : public ::testing::Test {
protected:
    // Counts to the end, failing after a deadline.
    void countAll()
    {
        QElapsedTimer waited;
        waited.start();
        while (highlight.isCounting() && waited.elapsed() < 10000)
            highlight.countSlice();
        ASSERT_FALSE(highlight.isCounting());
    }
    FakeEditControl editor;
    FakeMatchMarks marks{editor};
    MatchHighlight highlight{marks};
};

TEST_F(MatchHighlightTest, MarksTheMatchesOnTheLinesOnScreenOnly)
{
    editor.setUtf8Text("PL:1\r\nOF:-2\r\nPL:\xC3\xA9 PL\r\nPL:4");
    marks.visible = {6, 23}; // the second and third lines
    highlight.show({QStringLiteral("pl"), false, false, false});
    EXPECT_EQ(marks.marks, (QList<Utf8Range>{{13, 15}, {19, 21}}));

    // An expression, the view scrolled down one line.
    highlight.show({QStringLiteral("PL:\\S+"), true, false, true});
    marks.visible = {13, 27};
    highlight.viewChanged();
    EXPECT_EQ(marks.marks, (QList<Utf8Range>{{13, 18}, {23, 27}}));
    const int laid = marks.markCount;
    highlight.viewChanged();
    EXPECT_EQ(marks.markCount, laid) << "nothing changed: nothing laid again";

    highlight.clear();
    EXPECT_TRUE(marks.marks.isEmpty());
    EXPECT_FALSE(highlight.isShown());
}

TEST_F(MatchHighlightTest, CountsBetweenEventsAndStopsPastTheLimit)
{
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("PL:%1,A,B\r\nOF:-%1\r\n").arg(i);
    editor.setUtf8Text(text.toUtf8());
    QStringList told;
    QObject::connect(&highlight, &MatchHighlight::countChanged, [&](const QString &t) { told.append(t); });

    highlight.show({QStringLiteral("OF:-"), true, false, false});
    EXPECT_TRUE(highlight.isCounting()) << "nothing counted before the events run";
    countAll();
    EXPECT_EQ(highlight.countText(), QStringLiteral("3,000 matches"));

    highlight.show({QStringLiteral("[A-Z]"), true, false, true});
    countAll();
    EXPECT_EQ(highlight.countText(), QStringLiteral("more than 10,000"));

    highlight.show({QStringLiteral("PL:2999,"), true, false, false});
    countAll();
    EXPECT_EQ(highlight.countText(), QStringLiteral("1 match"));

    // A change of the text counts again.
    editor.setUtf8Text("no points");
    highlight.textChanged();
    EXPECT_EQ(highlight.countText(), QString());
    countAll();
    EXPECT_EQ(highlight.countText(), QStringLiteral("0 matches"));
    EXPECT_EQ(told.last(), QStringLiteral("0 matches"));
}

} // namespace
