// A file whose bytes are its text, read for the editor without ever being
// held whole: a megabyte at a time, each piece handed over as it is read.
#include "textfile/TextFile.h"

#include "textfile/Digest.h"
#include "textfile/OwnFiles.h"
#include "textfile/PosixIo.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace zuno {

using namespace textfile;

namespace {

constexpr qsizetype Piece = qsizetype(1) << 20;

// What the reading has seen of a file so far: whether its bytes are its
// text as it is held (UTF-8 without a byte-order mark, with "\r\n" line
// breaks or on one line).
class FormatSeen {
public:
    void add(QByteArrayView piece, bool first)
    {
        m_byteOrderMark = m_byteOrderMark || (first && piece.startsWith("\xEF\xBB\xBF"));
        m_utf8.add(piece);
        m_crLf = m_crLf || (m_last == '\r' && piece.front() == '\n') || piece.contains("\r\n");
        m_lineFeed = m_lineFeed || piece.contains('\n');
        m_last = piece.back();
    }
    // The text as it is, were the bytes seen so far the whole file.
    bool asItIsSoFar() const { return !m_byteOrderMark && !m_utf8.failed() && (m_crLf || !m_lineFeed); }
    bool asItIs() const { return asItIsSoFar() && m_utf8.valid(); }

private:
    Utf8Check m_utf8;
    bool m_byteOrderMark = false;
    bool m_crLf = false;
    bool m_lineFeed = false;
    char m_last = 0;
};

QString changedWhileReadReason()
{
    return QCoreApplication::translate("TextFile", "The file changed while it was being read");
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
        && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

} // namespace

Result<TextFileContent, TextFileError> readTextFile(const QString &path, const TextPieceTaker &take)
{
    struct stat info {};
    auto opened = openRegularFile(path, info);
    if (!opened.ok())
        return opened.error();
    const int fd = opened.value().get();
    if (info.st_size > MaxTextFileBytes)
        return TextFileError{tooLargeReason(false), {}};
    QByteArray buffer(Piece, Qt::Uninitialized);
    // One reading: each piece goes to `take` as it is read. A file that
    // turns out not to be its text as it is (a "\n" before any "\r\n" is
    // taken as a sign of it) is read again, whole, and the pieces taken are
    // let go.
    FormatSeen format;
    Digest digest;
    qint64 at = 0;
    for (;;) {
        const qsizetype got = readPiece(fd, buffer, at);
        if (got < 0)
            return TextFileError{systemReason(int(-got)), {}};
        if (got == 0)
            break;
        if (at + got > MaxTextFileBytes)
            return TextFileError{tooLargeReason(false), {}};
        const QByteArrayView piece(buffer.constData(), got);
        format.add(piece, at == 0);
        // A file longer than its size said (one that grows as it is read,
        // or whose size the system does not know) is read whole instead.
        if (!format.asItIsSoFar() || at + got > info.st_size)
            return readTextFile(path);
        digest.add(piece);
        if (!take(info.st_size, piece))
            return TextFileError{systemReason(ENOMEM), {}};
        at += got;
    }
    if (!format.asItIs())
        return readTextFile(path);
    // The file as it was opened, or it changed while it was read.
    struct stat after {};
    if (at != info.st_size || ::fstat(fd, &after) != 0 || !sameFile(info, after))
        return TextFileError{changedWhileReadReason(), {}};
    removeLeftoverTemporaries(path);
    TextFileContent content;
    content.handedOver = true;
    content.stamp = stampOf(info, digest.value());
    return content;
}

} // namespace zuno
