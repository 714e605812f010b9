// When the document's recovery data is written and removed: once the text
// rests, at the latest after the longest wait while changes go on, at once
// on request; removed when the document settles or the changes are declined.
#include "recovery/DocumentRecovery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zuno {
namespace {

const QByteArray None("<none>");

class DocumentRecoveryTest : public ::testing::Test {
protected:
    DocumentRecoveryTest() { recovery.setDelays(100, 400); }

    // The text the folder keeps now, or None.
    QByteArray written() const
    {
        const QStringList entries = QDir(dir.path()).entryList({QStringLiteral("*.zrec")}, QDir::Files);
        if (entries.isEmpty())
            return None;
        QFile file(QDir(dir.path()).filePath(entries.first()));
        if (!file.open(QIODevice::ReadOnly))
            return None;
        auto data = parseRecovery(file.readAll(), false);
        return data.ok() ? data.value().text : None;
    }
    // Waits (at most 5 s) until the folder keeps `expected`.
    bool becomes(const QByteArray &expected)
    {
        return QTest::qWaitFor([&] { return written() == expected; }, 5000);
    }
    void type(const QByteArray &more)
    {
        text += more;
        recovery.noteChange();
    }

    QTemporaryDir dir;
    RecoveryStore store{dir.path()};
    QByteArray text;
    bool modified = true;
    DocumentRecovery recovery{store, [this](QByteArray) -> std::optional<RecoveryData> {
                                  if (!modified)
                                      return std::nullopt;
                                  RecoveryData data;
                                  data.text = text;
                                  return data;
                              }};
};

TEST_F(DocumentRecoveryTest, TheTextIsWrittenOnceItRests)
{
    type("AC:1");
    EXPECT_EQ(written(), None);
    EXPECT_TRUE(becomes("AC:1"));
}

TEST_F(DocumentRecoveryTest, ALargeEditIsCopiedWholeAtOnceWhileTypingGoesOn)
{
    // Neither delay would write while the typing goes on.
    recovery.setDelays(60000, 60000);
    text = "AC:" + QByteArray(100, 'A');
    recovery.largeEdit();
    type("B");
    EXPECT_TRUE(becomes("AC:" + QByteArray(100, 'A') + "B"));
}

TEST_F(DocumentRecoveryTest, ChangesThatGoOnAreWrittenAtTheLatestDelay)
{
    // The text never rests long enough: only the latest delay can write.
    recovery.setDelays(60000, 300);
    QElapsedTimer typing;
    typing.start();
    bool writtenWhileTyping = false;
    while (typing.elapsed() < 5000 && !writtenWhileTyping) {
        type("x");
        QTest::qWait(20);
        writtenWhileTyping = written() != None;
    }
    EXPECT_TRUE(writtenWhileTyping) << "nothing was written while the typing went on";
}

TEST_F(DocumentRecoveryTest, ASettledDocumentKeepsNothing)
{
    type("AC:1");
    ASSERT_TRUE(becomes("AC:1"));
    modified = false;
    recovery.settle();
    // Nothing at all is left: neither the text nor its lock.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }, 5000));
}

TEST_F(DocumentRecoveryTest, DeclinedChangesStayGoneUntilTheNextChange)
{
    type("AC:1");
    ASSERT_TRUE(recovery.writeNow(5000));
    recovery.decline();
    ASSERT_TRUE(recovery.writeNow(5000));
    EXPECT_EQ(written(), None) << "still modified, but declined";
    type("2");
    EXPECT_TRUE(becomes("AC:12"));
}

} // namespace
} // namespace zuno
