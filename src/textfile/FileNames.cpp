#include "textfile/FileNames.h"

#include "textfile/TextCodec.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

namespace zuno {

namespace {

constexpr char16_t KeptByteBase = 0xDC00;

bool isKeptByte(char16_t unit)
{
    return unit >= KeptByteBase + 0x80 && unit <= KeptByteBase + 0xFF;
}

bool exists(const QByteArray &path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0;
}

// The entry of `folder` that a listing shows as `shown`, or a null array.
QByteArray listedEntry(const QByteArray &folder, const QString &shown)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "/" : folder.constData());
    if (!dir)
        return {};
    QByteArray found;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QFile::decodeName(name) == shown) {
            found = name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    if (isUtf8(bytes))
        return QString::fromUtf8(bytes);
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        // A character of one to four bytes, or a byte kept as it is.
        qsizetype length = 0;
        for (qsizetype n = 1; n <= 4 && i + n <= bytes.size() && length == 0; ++n) {
            if (isUtf8(bytes.sliced(i, n)))
                length = n;
        }
        if (length > 0)
            name += QString::fromUtf8(bytes.sliced(i, length));
        else
            name += QChar(char16_t(KeptByteBase + static_cast<unsigned char>(bytes[i])));
        i += std::max<qsizetype>(length, 1);
    }
    return name;
}

QByteArray fileNameBytes(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isKeptByte(name[i].unicode()))
            continue;
        bytes += name.sliced(from, i - from).toUtf8();
        if (i < name.size())
            bytes += char(name[i].unicode() - KeptByteBase);
        from = i + 1;
    }
    return bytes;
}

QString displayedFileName(QStringView name)
{
    QString shown = name.toString();
    for (QChar &ch : shown) {
        if (isKeptByte(ch.unicode()))
            ch = QChar::ReplacementCharacter;
    }
    return shown;
}

bool pathExists(const QString &path)
{
    return exists(fileNameBytes(path));
}

QString fileNameAsListed(const QString &path)
{
    if (path.isEmpty() || pathExists(path))
        return path;
    const QStringList parts = path.split(u'/');
    QByteArray resolved = fileNameBytes(parts.first());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray folder = resolved;
        resolved += '/' + fileNameBytes(parts[i]);
        if (exists(resolved) || parts[i].isEmpty())
            continue;
        const QByteArray entry = listedEntry(folder, parts[i]);
        if (entry.isNull())
            return path; // a name still to be made (Save As) stays as it is
        resolved = folder + '/' + entry;
    }
    return fileNameFromBytes(resolved);
}

} // namespace zuno
