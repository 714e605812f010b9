// A file whose bytes are its text, read for the editor without ever being
// held whole: read twice, a megabyte at a time, first for its format and
// stamp, then to hand its pieces over.
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

// Reads the piece at `offset`: its size, 0 at the end, or -errno.
qsizetype readPiece(int fd, QByteArray &buffer, qint64 offset)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer.data(), size_t(buffer.size()), off_t(offset));
        if (got >= 0)
            return qsizetype(got);
        if (errno != EINTR)
            return -errno;
    }
}

// What the first reading learns of a file (its size and digest only when
// it can be taken as it is).
struct FirstReading {
    qint64 size = 0;
    quint64 digest = 0;
    bool asItIs = false; // UTF-8 without a byte-order mark, "\r\n" or one line
};

Result<FirstReading, TextFileError> readFirst(int fd, QByteArray &buffer)
{
    FirstReading first;
    Digest digest;
    Utf8Check utf8;
    bool byteOrderMark = false;
    bool crLf = false;
    bool lineFeed = false;
    char last = 0;
    for (;;) {
        const qsizetype got = readPiece(fd, buffer, first.size);
        if (got < 0)
            return TextFileError{systemReason(int(-got)), {}};
        if (got == 0)
            break;
        if (first.size + got > MaxTextFileBytes)
            return TextFileError{tooLargeReason(false), {}};
        const QByteArrayView piece(buffer.constData(), got);
        if (first.size == 0)
            byteOrderMark = piece.startsWith("\xEF\xBB\xBF");
        digest.add(piece);
        utf8.add(piece);
        crLf = crLf || (last == '\r' && piece.front() == '\n') || piece.contains("\r\n");
        lineFeed = lineFeed || piece.contains('\n');
        last = piece.back();
        first.size += got;
        // A file that cannot be taken as it is is read whole anyway.
        if (byteOrderMark || utf8.failed())
            return first;
    }
    first.digest = digest.value();
    first.asItIs = !byteOrderMark && utf8.valid() && (crLf || !lineFeed);
    return first;
}

QString changedWhileReadReason()
{
    return QCoreApplication::translate("TextFile", "The file changed while it was being read");
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
    const auto first = readFirst(fd, buffer);
    if (!first.ok())
        return first.error();
    // Any other file is read whole, to be decoded.
    if (!first.value().asItIs)
        return readTextFile(path);
    removeLeftoverTemporaries(path);

    // The pieces are handed over as they are read again, and must be what
    // the first reading saw.
    const qint64 size = first.value().size;
    Digest digest;
    qint64 at = 0;
    for (;;) {
        const qsizetype got = readPiece(fd, buffer, at);
        if (got < 0)
            return TextFileError{systemReason(int(-got)), {}};
        if (got == 0)
            break;
        if (at + got > size)
            return TextFileError{changedWhileReadReason(), {}};
        const QByteArrayView piece(buffer.constData(), got);
        digest.add(piece);
        if (!take(size, piece))
            return TextFileError{systemReason(ENOMEM), {}};
        at += got;
    }
    if (at != size || digest.value() != first.value().digest)
        return TextFileError{changedWhileReadReason(), {}};
    TextFileContent content;
    content.stamp = stampOf(info, digest.value());
    return content;
}

} // namespace zuno
