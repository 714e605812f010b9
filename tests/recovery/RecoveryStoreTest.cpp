// The recovery folder against a scratch folder: entries written, offered
// only when no running editor holds them, read back whole, removed.
#include "recovery/RecoveryStore.h"
#include "recovery/RecoveryJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace zuno {
namespace {

class RecoveryStoreTest : public ::testing::Test {
protected:
    QStringList files() const
    {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QString folder() const { return dir.filePath(QStringLiteral("state/zunopad/recovery")); }
    static RecoveryData sample(const QByteArray &text)
    {
        RecoveryData data;
        data.path = QStringLiteral("/data/ROAD1.PRJ");
        data.stamp.valid = true;
        data.stamp.inode = 1234567890123ull;
        data.stamp.size = 42;
        data.stamp.modifiedNs = 1700000000123456789;
        data.stamp.digest = 0xfedcba9876543210ull;
        data.stamp.mode = 0600;
        data.format = {TextEncoding::Latin1, LineEnding::Lf};
        data.recordView = true;
        data.caret = 7;
        data.changedMs = 1765000000000;
        data.text = text;
        return data;
    }

    QTemporaryDir dir;
};

TEST_F(RecoveryStoreTest, AnEntryIsOfferedOnlyOnceItsEditorHasEnded)
{
    auto running = std::make_unique<RecoveryStore>(folder());
    ASSERT_TRUE(running->write(sample(QByteArray("AC:1\r\nBG:\0\xff", 11))).ok());
    ASSERT_TRUE(running->write(sample("AC:2")).ok()) << "a second write replaces the first";

    RecoveryStore next(folder());
    EXPECT_TRUE(next.freeEntries().isEmpty()) << "the writing editor still runs";
    const QStringList locks = QDir(folder()).entryList({QStringLiteral("*.lock")});
    ASSERT_EQ(locks.size(), 1);
    QFile lock(QDir(folder()).filePath(locks.first()));
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    EXPECT_EQ(lock.readAll().trimmed().toLongLong(), QCoreApplication::applicationPid()) << "the lock names its owner";
    running.reset(); // ended without removing its data: a kill

    const QList<RecoveryEntry> entries = next.freeEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries.first().data.text.isEmpty()) << "the list does not read the texts";
    std::optional<ClaimedEntry> claimed = next.claim(entries.first());
    ASSERT_TRUE(claimed);
    EXPECT_FALSE(next.claim(entries.first())) << "a claimed entry is no one else's";

    auto read = next.read(*claimed);
    ASSERT_TRUE(read.ok());
    const RecoveryData expected = sample("AC:2");
    const RecoveryData &data = read.value();
    EXPECT_EQ(data.text, expected.text);
    EXPECT_EQ(data.path, expected.path);
    EXPECT_EQ(data.format, expected.format);
    EXPECT_EQ(data.recordView, expected.recordView);
    EXPECT_EQ(data.caret, expected.caret);
    EXPECT_EQ(data.changedMs, expected.changedMs);
    EXPECT_TRUE(data.stamp.valid);
    EXPECT_EQ(data.stamp.inode, expected.stamp.inode);
    EXPECT_EQ(data.stamp.modifiedNs, expected.stamp.modifiedNs);
    EXPECT_EQ(data.stamp.digest, expected.stamp.digest);
    EXPECT_EQ(data.stamp.mode, expected.stamp.mode);

    next.discard(std::move(*claimed));
    EXPECT_TRUE(files().isEmpty()) << files().join(u' ').toStdString();
}

TEST_F(RecoveryStoreTest, EntriesComeLatestChangeFirst)
{
    for (const qint64 changed : {300, 100, 200}) {
        RecoveryStore ended(folder());
        RecoveryData data = sample("AC:1");
        data.changedMs = changed;
        ASSERT_TRUE(ended.write(data).ok());
    }
    QList<qint64> order;
    for (const RecoveryEntry &entry : RecoveryStore(folder()).freeEntries())
        order.append(entry.data.changedMs);
    EXPECT_EQ(order, (QList<qint64>{300, 200, 100}));
}

TEST_F(RecoveryStoreTest, AnAdoptedEntryIsRewrittenInPlaceAndRemovedWithTheDocument)
{
    {
        RecoveryStore ended(folder());
        ASSERT_TRUE(ended.write(sample("AC:1")).ok());
    }
    const QStringList before = files();
    RecoveryStore store(folder());
    std::optional<ClaimedEntry> claimed = store.claim(store.freeEntries().first());
    ASSERT_TRUE(claimed);
    store.adopt(std::move(*claimed));
    EXPECT_TRUE(RecoveryStore(folder()).freeEntries().isEmpty()) << "now held by this editor";
    ASSERT_TRUE(store.write(sample("AC:1\r\nBG:2")).ok());
    EXPECT_EQ(files(), before);
    store.removeOwn();
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(RecoveryStoreTest, AnEntryCutShortIsKeptButNotRead)
{
    {
        RecoveryStore ended(folder());
        ASSERT_TRUE(ended.write(sample("AC:1\r\nBG:2")).ok());
    }
    const QString data = QDir(folder()).filePath(QDir(folder()).entryList({QStringLiteral("*.zrec")}).first());
    ASSERT_TRUE(QFile::resize(data, QFileInfo(data).size() - 3));
    RecoveryStore store(folder());
    std::optional<ClaimedEntry> claimed = store.claim(store.freeEntries().first());
    ASSERT_TRUE(claimed);
    EXPECT_FALSE(store.read(*claimed).ok());
    claimed.reset();
    EXPECT_EQ(store.freeEntries().size(), 1);
}

// An entry with nothing unsaved (undone back to the saved text) is hidden,
// not offered; shown again with the next change; and, left by an editor that
// ended, removed; the journal's last record tells when the last change was.
TEST_F(RecoveryStoreTest, AHiddenEntryIsNotOfferedAndGoesOnceItsEditorHasEnded)
{
    RecoveryStore other(folder());
    {
        RecoveryStore ended(folder());
        ASSERT_TRUE(ended.write(sample("AC:1"), true).ok());
        EXPECT_TRUE(other.freeEntries().isEmpty());
        ended.setHidden(false);
        ASSERT_TRUE(ended.append(journalRecord(JournalEdit{4, 0, "2", 5, 1766000000000})).ok());
    }
    const QList<RecoveryEntry> entries = other.freeEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().data.changedMs, 1766000000000);
    {
        RecoveryStore ended(folder());
        ASSERT_TRUE(ended.write(sample("AC:1"), true).ok());
    }
    other.freeEntries();
    EXPECT_EQ(files().filter(QStringLiteral(".clean")), QStringList());
}

// Whatever another program put in the folder is neither written through
// nor waited on: an entry whose lock links elsewhere, an entry that is a
// pipe, a header too long to be ours; each is told once and put aside.
TEST_F(RecoveryStoreTest, PlantedFilesAreReportedOnceAndPutAside)
{
    {
        RecoveryStore ended(folder());
        ASSERT_TRUE(ended.write(sample("AC:1")).ok());
    }
    const QDir recovery(folder());
    const QString linked = recovery.entryList({QStringLiteral("*.zrec")}).first().chopped(5);
    const QString target = dir.filePath(QStringLiteral("victim"));
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::remove(recovery.filePath(linked + QStringLiteral(".lock"))));
    ASSERT_TRUE(QFile::link(target, recovery.filePath(linked + QStringLiteral(".lock"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(recovery.filePath(QStringLiteral("fifo.zrec"))).constData(), 0600), 0);
    QFile huge(recovery.filePath(QStringLiteral("huge.zrec")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    RecoveryData long_ = sample("");
    long_.path = QStringLiteral("/data/") + QString(70000, u'x');
    huge.write(recoveryHeader(long_));
    huge.close();

    RecoveryStore store(folder());
    EXPECT_TRUE(store.freeEntries().isEmpty());
    const QStringList notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 3) << notices.join(u'\n').toStdString();
    EXPECT_EQ(QFileInfo(target).size(), 0) << "nothing written through the link";
    EXPECT_EQ(recovery.entryList({QStringLiteral("*.unreadable")}, QDir::AllEntries | QDir::System).size(), 3);
    EXPECT_TRUE(store.freeEntries().isEmpty());
    EXPECT_TRUE(store.takeNotices().isEmpty()) << "told once";
}

TEST_F(RecoveryStoreTest, AFolderOfAnotherUserOrThatOthersMayWriteToIsNotUsed)
{
    struct Case {
        mode_t mode;
        uid_t owner;
        const char *reason;
    };
    const Case cases[] = {{0777, ::geteuid(), "Other users may write to it."},
                          {0700, 65534, "It belongs to another user."}};
    for (const Case &c : cases) {
        QTemporaryDir scratch;
        const QByteArray path = QFile::encodeName(scratch.filePath(QStringLiteral("recovery")));
        ASSERT_EQ(::mkdir(path.constData(), 0700), 0);
        ASSERT_EQ(::chmod(path.constData(), c.mode), 0);
        if (c.owner != ::geteuid() && ::chown(path.constData(), c.owner, gid_t(-1)) != 0)
            continue; // only the superuser can give a folder away
        RecoveryStore store(QFile::decodeName(path));
        EXPECT_TRUE(store.freeEntries().isEmpty());
        const auto written = store.write(sample("AC:1"));
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().message, QString::fromUtf8(c.reason));
        EXPECT_EQ(store.takeNotices().size(), 1) << "said once";
        EXPECT_TRUE(QDir(QFile::decodeName(path)).isEmpty());
    }
}

TEST_F(RecoveryStoreTest, TheFolderFollowsXdgStateHome)
{
    const QByteArray old = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    EXPECT_EQ(defaultRecoveryFolder(), QStringLiteral("/somewhere/state/zunopad/recovery"));
    qputenv("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(defaultRecoveryFolder(), QDir::homePath() + QStringLiteral("/.local/state/zunopad/recovery"));
    qputenv("XDG_STATE_HOME", old);
}

} // namespace
} // namespace zuno
