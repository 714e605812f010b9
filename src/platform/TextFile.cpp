#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zuno {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8BomSize = 3;

// Decodes as UTF-8 when the bytes are UTF-8 that encodes back to exactly the
// same bytes (no malformed, overlong or surrogate sequences).
std::optional<QString> decodeExactUtf8(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return std::nullopt;
    return text;
}

bool fitsLatin1(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() > 0xFF)
            return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The permission bits a new file gets: 0666 less the process's umask.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return 0666 & ~mode_t(mask);
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file that writing to `path` should replace: a symbolic link's target,
// so that the link stays a link.
QByteArray finalTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return QFile::encodeName(path);
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
}

// Writes the bytes to a new file in the target's folder, flushes it to disk
// and renames it over the target, so that the target is either the old file
// or the new one, never a part. The new file takes the old one's permission
// bits (and owner, where allowed). Returns 0 or the errno of the failure.
int writeAtomically(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = finalTarget(path);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
    const QByteArray name = target.mid(slash + 1);
    QByteArray temporary = folder + "/." + name + ".XXXXXX";
    if (folder == "/")
        temporary = "/." + name + ".XXXXXX";

    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return error;
    };

    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            return fail(errno);
        // Keeping the owner needs privileges; without them the file is ours.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
    } else if (::fchmod(fd, newFileMode()) != 0) {
        return fail(errno);
    }

    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += written;
        left -= written;
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return error;
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return error;
    }
    // Make the rename itself durable; the data is already safe.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return 0;
}
#endif

} // namespace

TextFileContent decodeText(const QByteArray &bytes)
{
    TextFileContent content;
    const bool hasBom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? Utf8BomSize : 0);
    if (auto utf8 = decodeExactUtf8(body)) {
        content.text = std::move(*utf8);
        content.format.encoding = hasBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
    } else {
        content.text = QString::fromLatin1(bytes);
        content.format.encoding = TextEncoding::Latin1;
    }

    // Count both kinds of line break; a lone "\r" is content.
    const QString &text = content.text;
    qsizetype crLf = 0;
    qsizetype loneLf = 0;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i > 0 && text[i - 1] == u'\r')
            ++crLf;
        else
            ++loneLf;
    }
    if (loneLf == 0)
        return content; // "\r\n" throughout (or no line break at all)

    content.format.lineEnding = loneLf > crLf ? LineEnding::Lf : LineEnding::CrLf;
    QString withCrLf;
    withCrLf.reserve(text.size() + loneLf);
    qsizetype from = 0;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i > 0 && text[i - 1] == u'\r')
            continue;
        withCrLf += QStringView(text).sliced(from, i - from);
        withCrLf += u"\r\n";
        from = i + 1;
    }
    withCrLf += QStringView(text).sliced(from);
    content.text = std::move(withCrLf);
    return content;
}

TextFileFormat writtenFormat(const QString &text, const TextFileFormat &format)
{
    TextFileFormat written = format;
    if (written.encoding == TextEncoding::Latin1 && !fitsLatin1(text))
        written.encoding = TextEncoding::Utf8;
    // A lone "\r" right before a line break would turn into part of a "\r\n"
    // line break if that line break were written as "\n".
    if (written.lineEnding == LineEnding::Lf && text.contains(u"\r\r\n"))
        written.lineEnding = LineEnding::CrLf;
    return written;
}

QByteArray encodeText(const QString &text, const TextFileFormat &format)
{
    const TextFileFormat written = writtenFormat(text, format);
    QString lf;
    const QString *source = &text;
    if (written.lineEnding == LineEnding::Lf && text.contains(u"\r\n")) {
        lf = text;
        lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        source = &lf;
    }
    switch (written.encoding) {
    case TextEncoding::Latin1:
        return source->toLatin1();
    case TextEncoding::Utf8Bom:
        return QByteArray(Utf8Bom) + source->toUtf8();
    case TextEncoding::Utf8:
        break;
    }
    return source->toUtf8();
}

std::variant<TextFileContent, TextFileError> readTextFile(const QString &path)
{
    if (QFileInfo(path).isDir())
        return TextFileError{QStringLiteral("Is a directory")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TextFileError{file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return TextFileError{file.errorString()};
    return decodeText(bytes);
}

std::optional<TextFileError> writeTextFile(const QString &path, const QString &text,
                                           const TextFileFormat &format)
{
    if (QFileInfo(path).isDir())
        return TextFileError{QStringLiteral("Is a directory")};
    const QByteArray bytes = encodeText(text, format);
#ifdef Q_OS_UNIX
    if (const int error = writeAtomically(path, bytes))
        return TextFileError{systemReason(error)};
    return std::nullopt;
#else
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TextFileError{file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return TextFileError{reason};
    }
    if (!file.commit())
        return TextFileError{file.errorString()};
    return std::nullopt;
#endif
}

} // namespace zuno
