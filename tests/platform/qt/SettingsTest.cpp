// The settings file: only a regular file (or a link to one) is read or
// written; anything else in its place is left alone and said once.
#include "platform/qt/QtSettings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace zuno {
namespace {

const QString App = QStringLiteral("ZunoSettingsTest");

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_testMode = QStandardPaths::isTestModeEnabled();
        QStandardPaths::setTestModeEnabled(false);
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(App));
        m_file = QtSettingsStore::filePath(App);
        ASSERT_TRUE(m_file.startsWith(m_dir.path())) << m_file.toStdString();
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        QStandardPaths::setTestModeEnabled(m_testMode);
    }

    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    bool m_testMode = false;
    QString m_file;
};

TEST_F(SettingsFile, ARegularFileOrALinkToOneIsReadAndWrittenThrough)
{
    const QString target = m_dir.filePath(QStringLiteral("dotfiles.conf"));
    QFile(target).open(QIODevice::WriteOnly);
    const QByteArray targetName = QFile::encodeName(target);
    ASSERT_EQ(::chmod(targetName.constData(), 0640), 0);
    // Run as the superuser, a file of another user stays that user's.
    const bool foreign = ::geteuid() == 0 && ::chown(targetName.constData(), 65534, 65534) == 0;
    ASSERT_EQ(::symlink(targetName.constData(), QFile::encodeName(m_file).constData()), 0);
    int refusals = 0;
    QtSettingsStore store([&](const QString &) { ++refusals; });
    store.write(App, QStringLiteral("StartupPosition"), QStringLiteral("Top"), QStringLiteral("120"));
    store.write(App, QStringLiteral("StartupPosition"), QStringLiteral("Left"), QStringLiteral("7"));
    EXPECT_EQ(store.read(App, QStringLiteral("StartupPosition"), QStringLiteral("Top"), QStringLiteral("0")),
              QStringLiteral("120"));
    store.flush();
    EXPECT_TRUE(QFileInfo(m_file).isSymLink()) << "the link is kept, the file it leads to written";
    struct stat info {};
    ASSERT_EQ(::stat(targetName.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (foreign)
        EXPECT_EQ(info.st_uid, 65534u);
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.contains("Top=120") && bytes.contains("Left=7")) << bytes.toStdString();
    EXPECT_EQ(refusals, 0);
}

// A lock that another writer holds, or that is not a file of this user,
// holds the start for at most a second: the settings are read without it
// and not written, and that is said once.
TEST_F(SettingsFile, ALockNotToBeHadLeavesTheSettingsReadButNotWritten)
{
    {
        QFile file(m_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[S]\nK=5\n");
    }
    const QByteArray lockName = QFile::encodeName(m_file + QStringLiteral(".lock"));
    const QByteArray fresh = QFile::encodeName(m_dir.filePath(QStringLiteral("fresh")));
    std::unique_ptr<QLockFile> held;
    const struct {
        const char *what;
        std::function<bool()> make;
    } cases[] = {
        {"a folder", [&] { return ::mkdir(lockName.constData(), 0700) == 0; }},
        {"a dangling link", [&] { return ::symlink("/nonexistent/x", lockName.constData()) == 0; }},
        {"a link to a fresh file",
         [&] { return QFile(QFile::decodeName(fresh)).open(QIODevice::WriteOnly) && ::symlink(fresh.constData(), lockName.constData()) == 0; }},
        {"held by another writer",
         [&] {
             held = std::make_unique<QLockFile>(QFile::decodeName(lockName));
             return held->tryLock(0);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ::unlink(lockName.constData());
        ::rmdir(lockName.constData());
        ASSERT_TRUE(c.make());
        QStringList reasons;
        QElapsedTimer clock;
        clock.start();
        {
            QtSettingsStore store([&](const QString &reason) { reasons << reason; });
            EXPECT_EQ(store.read(App, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("0")), QStringLiteral("5"));
            EXPECT_LT(clock.elapsed(), 3000) << "the lock is not waited on for long";
            store.write(App, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("6"));
            store.write(App, QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("7"));
            store.flush();
        }
        QFile file(m_file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("[S]\nK=5\n")) << "not written";
        EXPECT_EQ(reasons.size(), 1) << "said once";
        held.reset();
    }
}

TEST_F(SettingsFile, AnythingElseInItsPlaceCountsAsNoSettingsAndIsLeftAlone)
{
    const QByteArray file = QFile::encodeName(m_file);
    const QByteArray missing = QFile::encodeName(m_dir.filePath(QStringLiteral("gone/x.conf")));
    const struct {
        const char *what;
        std::function<bool()> make;
    } cases[] = {
        {"a FIFO", [&] { return ::mkfifo(file.constData(), 0600) == 0; }},
        {"a link to a device", [&] { return ::symlink("/dev/null", file.constData()) == 0; }},
        {"a folder", [&] { return ::mkdir(file.constData(), 0700) == 0; }},
        {"a dangling link", [&] { return ::symlink(missing.constData(), file.constData()) == 0; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ::unlink(file.constData());
        ::rmdir(file.constData());
        ASSERT_TRUE(c.make());
        struct stat before {};
        ASSERT_EQ(::lstat(file.constData(), &before), 0);
        QStringList reasons;
        QtSettingsStore store([&](const QString &reason) { reasons << reason; });
        // Reading never opens it (a FIFO would block): the default answers.
        EXPECT_EQ(store.read(App, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("0")), QStringLiteral("0"));
        store.write(App, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
        store.write(App, QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("2"));
        store.flush();
        struct stat after {};
        ASSERT_EQ(::lstat(file.constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(missing)));
        ASSERT_EQ(reasons.size(), 1) << "said once a run";
        EXPECT_TRUE(reasons.front().contains(m_file)) << reasons.front().toStdString();
    }
}

} // namespace
} // namespace zuno
