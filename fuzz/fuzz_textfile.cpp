// libFuzzer target for reading and writing text files: any bytes, read and
// written back unchanged, give the same bytes, and an edit of one character
// changes only that character's bytes. The first byte chooses the character
// edited; the rest is the file. The file goes through the disk (a folder of
// the process's own, in memory where /dev/shm is there).
#include "textfile/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

const QString &scratchFile()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/zunopad-fuzz-XXXXXX")
                                                                      : QDir::tempPath() + QStringLiteral("/zunopad-fuzz-XXXXXX"));
    static const QString file = dir.filePath(QStringLiteral("FUZZ.PRJ"));
    return file;
}

QByteArray readBack(const QString &path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "file written");
    return file.readAll();
}

// The bytes of `a` and `b` that differ, at most: the length of each
// between their common beginning and their common end.
qsizetype differingBytes(const QByteArray &a, const QByteArray &b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype head = 0;
    while (head < shorter && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    return std::max(a.size(), b.size()) - head - tail;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString &path = scratchFile();
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
                "file made");
    }

    auto read = zuno::readTextFile(path);
    require(read.ok(), "file read");
    const zuno::TextFileContent content = read.value();
    auto written = zuno::writeTextFile(path, content.text, content.format, content.stamp);
    require(written.ok(), "file written back");
    require(written.value().format == content.format, "format kept");
    require(readBack(path) == bytes, "bytes changed by saving");

    // One character other than a line break made another ASCII letter.
    QByteArray edited = content.text;
    if (edited.isEmpty())
        return 0;
    qsizetype at = qsizetype(choice) % edited.size();
    while (at > 0 && (static_cast<unsigned char>(edited[at]) & 0xC0) == 0x80)
        --at; // the start of the character
    if (edited[at] == '\r' || edited[at] == '\n')
        return 0;
    qsizetype length = 1;
    while (at + length < edited.size() && (static_cast<unsigned char>(edited[at + length]) & 0xC0) == 0x80)
        ++length;
    edited.replace(at, length, edited[at] == 'Z' ? "Y" : "Z");
    written = zuno::writeTextFile(path, edited, content.format, content.stamp);
    require(written.ok(), "edited file written");
    const QByteArray after = readBack(path);
    // The character takes at most four bytes in the file.
    require(differingBytes(bytes, after) <= 4, "more than the edited character changed");
    // (A Latin-1 file may become valid UTF-8 by the edit, and read so.)
    auto reread = zuno::readTextFile(path);
    require(reread.ok(), "edited file read");
    if (content.format.encoding != zuno::TextEncoding::Latin1)
        require(reread.value().text == edited, "edited text read back");
    return 0;
}
