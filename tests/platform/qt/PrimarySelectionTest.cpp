// rtbEditor and X11's PRIMARY selection, on a real X display (run under
// Xvfb): a jump of the caret leaves PRIMARY alone, a found occurrence is
// all that PRIMARY receives, and another program reads exactly that.
#include "platform/qt/EditorWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

// What another program reads from PRIMARY (xclip), while this one keeps
// answering the display; empty when xclip is missing or gives up.
QString primaryAsOthersSeeIt()
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("primary")});
    const QDeadlineTimer deadline(10000);
    while (!xclip.waitForFinished(10) && !deadline.hasExpired())
        QCoreApplication::processEvents();
    if (xclip.state() != QProcess::NotRunning) {
        xclip.kill();
        xclip.waitForFinished(1000);
        return QStringLiteral("(xclip did not finish)");
    }
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

class PrimarySelection : public ::testing::Test {
protected:
    void SetUp() override
    {
        clipboard = QApplication::clipboard();
        if (!clipboard->supportsSelection())
            GTEST_SKIP() << "no X11 selection on this display";
        QByteArray text;
        for (int line = 1; line <= 20000; ++line)
            text += "XX:LINE " + QByteArray::number(line) + ",FILLER TEXT\r\n";
        text += "EG:LAST";
        editor.setUtf8Text(text);
        editor.resize(400, 300);
        editor.show();
        clipboard->setText(QStringLiteral("set by someone else"), QClipboard::Selection);
        QCoreApplication::processEvents();
    }

    QClipboard *clipboard = nullptr;
    EditorWidget editor;
};

TEST_F(PrimarySelection, CaretJumpsLeavePrimaryAlone)
{
    QSignalSpy changes(clipboard, &QClipboard::selectionChanged);
    // Go To the last line, back to the start, and after a selection.
    editor.setSelStart(editor.textLength() - 7);
    editor.setSelStart(0);
    editor.setSelStart(3);
    editor.setSelLength(4);
    editor.setSelStart(editor.textLength());
    EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("LINE"));
    EXPECT_EQ(changes.size(), 1);
    EXPECT_EQ(primaryAsOthersSeeIt(), QStringLiteral("LINE"));
}

TEST_F(PrimarySelection, ACompoundEditsOwnSelectionsStayOutOfPrimary)
{
    QSignalSpy changes(clipboard, &QClipboard::selectionChanged);
    // As Edit > Clear does it: the whole text selected and deleted.
    editor.beginCompoundEdit();
    editor.setSelStart(0);
    editor.setSelLength(editor.textLength());
    editor.setSelText(QString());
    editor.endCompoundEdit();
    EXPECT_EQ(editor.textLength(), 0);
    EXPECT_EQ(changes.size(), 0);
    EXPECT_EQ(primaryAsOthersSeeIt(), QStringLiteral("set by someone else"));
}

TEST_F(PrimarySelection, FindGivesPrimaryTheOccurrenceOnly)
{
    QSignalSpy changes(clipboard, &QClipboard::selectionChanged);
    ASSERT_GE(editor.find(QStringLiteral("eg:last"), 0, FindOptions()), 0);
    EXPECT_EQ(changes.size(), 1);
    EXPECT_EQ(primaryAsOthersSeeIt(), QStringLiteral("EG:LAST"));
    // Searching again from the start finds an occurrence before the caret.
    ASSERT_EQ(editor.find(QStringLiteral("LINE 2,"), 0, FindOption::MatchCase), 26);
    EXPECT_EQ(changes.size(), 2);
    EXPECT_EQ(primaryAsOthersSeeIt(), QStringLiteral("LINE 2,"));
}

} // namespace
