// Scintilla's gap brought back to the caret after a read of the whole text:
// the rule for each step, and the steps on a real control, which change
// neither the text nor its history and wait for whoever holds the text.
#include "platform/qt/EditorWidget.h"
#include "platform/qt/GapKeeper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <Qsci/qsciscintillabase.h>

#include <gtest/gtest.h>

using namespace zuno;

namespace {

using Sci = QsciScintillaBase;
constexpr qint64 Step = GapKeeper::StepBytes;
constexpr qint64 Near = GapKeeper::NearBytes;
constexpr qint64 Far = GapKeeper::FarBytes;
constexpr qint64 ToEnd = -1;

TEST(GapKeeper, EachStepReadsAcrossTheGapAtMostAStepTowardTheCaret)
{
    const struct {
        qint64 gap, caret;
        std::optional<qint64> to; // where the step takes the gap
    } cases[] = {
        {50 * Step, 0, 49 * Step},
        {Step + 10, 10, 10},                    // the last step lands on the caret
        {Near + 100, 100, std::nullopt},        // near enough
        {1000, 1000 + Far, std::nullopt},       // behind the caret: left to the next key
        {1000, 1001 + Far, ToEnd},              // far behind: to the end, to walk back
    };
    for (const auto &c : cases) {
        const auto step = nextGapStep(c.gap, c.caret);
        ASSERT_EQ(step.has_value(), c.to.has_value()) << c.gap << " " << c.caret;
        if (!step)
            continue;
        EXPECT_EQ(step->toEnd, c.to == ToEnd);
        if (step->toEnd)
            continue;
        EXPECT_EQ(step->position, *c.to);
        EXPECT_EQ(step->position + step->length, c.gap + 1) << "the range spans the gap";
    }
}

struct Control {
    EditorWidget editor;
    QByteArray text;

    // A text of about `bytes` (3.5 steps unless said), the caret near its
    // start, the gap at the end (where a read of the whole text leaves it).
    explicit Control(qint64 bytes = Step * 7 / 2)
    {
        const QByteArray line = "AC:0123456789 ABCDEFGHIJ\r\n";
        text = line.repeated(int(bytes / line.size()));
        editor.setUtf8Text(text);
        editor.setModified(false);
        editor.SendScintilla(Sci::SCI_GOTOPOS, 100);
        editor.utf8Text();
    }
    qint64 gap() const { return editor.SendScintilla(Sci::SCI_GETGAPPOSITION); }
};

TEST(GapKeeper, WalksTheGapToTheCaretLeavingTextAndHistoryAsTheyWere)
{
    Control control;
    ASSERT_EQ(control.gap(), control.text.size());
    GapKeeper keeper(control.editor);
    std::shared_ptr<const void> pin = keeper.pin();
    EXPECT_FALSE(keeper.step()) << "a pinned text stays where it lies";
    EXPECT_EQ(control.gap(), control.text.size());
    pin.reset();
    int steps = 0;
    while (keeper.step())
        ASSERT_LT(++steps, 10);
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(control.gap(), 100);
    EXPECT_EQ(control.editor.utf8Text(), control.text);
    EXPECT_FALSE(control.editor.isModified());
    EXPECT_EQ(control.editor.SendScintilla(Sci::SCI_CANUNDO), 0);
}

TEST(GapKeeper, AGapFarBehindTheCaretGoesToTheEnd)
{
    Control control(Far + 2 * Step);
    GapKeeper keeper(control.editor);
    control.editor.SendScintilla(Sci::SCI_GETRANGEPOINTER, 0UL, long(control.text.size()) + 1);
    control.editor.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(Far + Step));
    ASSERT_EQ(control.gap(), 0);
    ASSERT_TRUE(keeper.step());
    EXPECT_EQ(control.gap(), control.text.size()); // to walk back as after a read of the whole text
    EXPECT_EQ(control.editor.utf8Text(), control.text);
    EXPECT_FALSE(control.editor.isModified());
}

TEST(GapKeeper, TheControlWalksItOnceLeftAloneAfterAReadOfTheWholeText)
{
    Control control;
    const QDeadlineTimer deadline(10'000);
    while (control.gap() != 100 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(control.gap(), 100);
}

} // namespace
