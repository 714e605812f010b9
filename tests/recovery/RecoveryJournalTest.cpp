// The journal against the text it was made from: random edits (typing,
// deletions, line breaks, characters of several bytes, whole new texts)
// handed to the document's recovery, its entry replayed from the folder;
// a torn last record; a base file changed since; a compacted journal.
#include "recovery/DocumentRecovery.h"
#include "textfile/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zuno {
namespace {

// The pieces the edits are made of: ASCII, CRLF, lone breaks, 2-4 byte
// characters.
const QByteArray Pieces[] = {"a", "AC:1", "\r\n", "\n", "\r", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "  PL:x"};

class RecoveryJournalTest : public ::testing::Test {
protected:
    RecoveryJournalTest()
    {
        recovery.setJournalDelay(5);
        recovery.setModified(true);
    }

    // Makes an edit on the model text and tells it, as the control does.
    void edit(qint64 position, qint64 removed, const QByteArray &inserted)
    {
        text.replace(position, removed, inserted);
        recovery.edited(position, removed, inserted);
    }
    // The entry's bytes as the folder keeps them now.
    QByteArray entry() const
    {
        const QStringList names = QDir(dir.path()).entryList({QStringLiteral("*.zrec")}, QDir::Files);
        if (names.size() != 1)
            return {};
        QFile file(QDir(dir.path()).filePath(names.first()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray replayed() const
    {
        auto data = replayRecovery(entry());
        return data.ok() ? data.value().text : QByteArray("<not replayed>");
    }

    QTemporaryDir dir;
    RecoveryStore store{dir.path()};
    QByteArray text;
    DocumentRecovery recovery{store, [this](QByteArray) {
                                  RecoveryData data;
                                  data.text = text;
                                  return std::optional<RecoveryData>(data);
                              }};
};

TEST_F(RecoveryJournalTest, RandomEditsReplayToTheTextTheyMade)
{
    QRandomGenerator random(32);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        RecoveryData base;
        base.base = RecoveryBase::Empty;
        text.clear();
        recovery.newBase(base);
        for (int step = 0; step < 200; ++step) {
            const int kind = random.bounded(20);
            if (kind == 0) {
                // A whole new text, from a buffer the document holds.
                recovery.wholeTextReplaced();
                text = text.repeated(1 + random.bounded(2)) + "ZZ";
                RecoveryData whole;
                whole.text = text;
                recovery.newBase(whole);
            } else if (kind < 6 && !text.isEmpty()) {
                const qint64 from = random.bounded(text.size());
                edit(from, random.bounded(text.size() - from + 1) % 9, {});
            } else {
                const QByteArray &piece = Pieces[random.bounded(int(std::size(Pieces)))];
                const qint64 at = text.isEmpty() ? 0 : random.bounded(text.size() + 1);
                const qint64 removed = random.bounded(3) == 0 ? std::min<qint64>(2, text.size() - at) : 0;
                edit(at, removed, piece.repeated(1 + random.bounded(3)));
            }
        }
        ASSERT_TRUE(recovery.writeNow(5000));
        EXPECT_EQ(replayed(), text);
    }
}

TEST_F(RecoveryJournalTest, ATornLastRecordIsDroppedAndTheEditsBeforeItStand)
{
    RecoveryData base;
    base.text = "AC:1\r\n";
    text = base.text;
    recovery.newBase(base);
    edit(6, 0, "PL:2");
    ASSERT_TRUE(recovery.writeNow(5000));
    const QByteArray before = text;
    edit(0, 2, "\xE2\x82\xAC");
    ASSERT_TRUE(recovery.writeNow(5000));
    const QByteArray whole = entry();
    for (const qint64 cut : {1, 8, 20, 40}) {
        auto data = replayRecovery(whole.chopped(cut));
        ASSERT_TRUE(data.ok()) << cut;
        EXPECT_EQ(data.value().text, before) << cut;
    }
    // A record that does not fit its text is refused, never applied.
    const QByteArray wrong = whole.left(whole.size() - journalRecord({}).size() - 3)
        + journalRecord(JournalEdit{1000, 0, "x", 0, 0});
    EXPECT_FALSE(replayRecovery(wrong).ok());
}

// The entry takes the file's text in as its base, so a change to the file
// afterwards costs nothing; an entry that still names the file (its text
// could not be taken in) is refused once the file has changed.
TEST_F(RecoveryJournalTest, AFileBaseIsKeptInTheEntryAndANamedOneRefusedOnceChanged)
{
    // An LF file (read with "\r\n", so taken in whole) and one whose bytes
    // are its text (copied in a piece at a time).
    for (const QByteArray &bytes : {QByteArray("AC:1\nPL:2\n"), QByteArray("AC:1\r\nPL:2\r\n")}) {
        SCOPED_TRACE(bytes.constData());
        const QString path = dir.filePath(QStringLiteral("data.zuno"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        auto read = readTextFile(path);
        ASSERT_TRUE(read.ok());
        text = read.value().text;
        RecoveryData base;
        base.base = RecoveryBase::File;
        base.path = path;
        base.stamp = read.value().stamp;
        base.format = read.value().format;
        RecoveryData named = base;
        named.journal = journalRecord(JournalEdit{4, 0, "0", 5, 0});
        const QByteArray namedEntry = recoveryHeader(named) + named.journal;
        EXPECT_EQ(replayRecovery(namedEntry).value().text, "AC:10\r\nPL:2\r\n");
        recovery.newBase(base);
        edit(4, 0, "0");
        ASSERT_TRUE(recovery.writeNow(5000));

        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write("RL:3\n");
        file.close();
        EXPECT_EQ(replayed(), "AC:10\r\nPL:2\r\n");
        EXPECT_FALSE(replayRecovery(namedEntry).ok());
        EXPECT_FALSE(takeFileBaseIn(named));
        EXPECT_EQ(named.base, RecoveryBase::File);
        recovery.settle();
    }
}

TEST_F(RecoveryJournalTest, AJournalPastItsLimitBecomesAWholeText)
{
    recovery.writer().setCompactLimit(1000);
    RecoveryData base;
    base.base = RecoveryBase::Empty;
    recovery.newBase(base);
    for (int i = 0; i < 100; ++i) {
        edit(text.size(), 0, "AC:123456789\r\n");
        if (i % 10 == 0) {
            ASSERT_TRUE(recovery.writeNow(5000));
        }
    }
    ASSERT_TRUE(recovery.writeNow(5000));
    auto data = parseRecovery(entry(), false);
    ASSERT_TRUE(data.ok());
    EXPECT_EQ(data.value().base, RecoveryBase::Text);
    EXPECT_LT(data.value().journal.size(), 1000 + 100);
    EXPECT_EQ(replayed(), text);
}

} // namespace
} // namespace zuno
