#pragma once
// What the text-file tests share: bytes in and out of files, the reasons of
// failures, a scratch folder, and a file-size limit.
#include "textfile/TextFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace zuno::filetests {

inline QByteArray bytesOf(const char *text)
{
    return QByteArray(text);
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QString errorOf(const Result<TextFileContent, TextFileError> &result)
{
    return result.ok() ? QString() : result.error().message;
}

// The error of a write, when it failed.
template <typename Written>
std::optional<TextFileError> failureOf(const Result<Written, TextFileError> &written)
{
    return written.ok() ? std::nullopt : std::optional<TextFileError>(written.error());
}

// A scratch folder for files.
class TextFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Hidden files too: a temporary file left behind would be one.
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    QTemporaryDir m_dir;
};

inline struct stat statOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        info.st_ino = 0;
    return info;
}

// Files may grow to `bytes` only while it lives: a write beyond fails as
// it would on a full disk (as root too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    struct rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

} // namespace zuno::filetests
