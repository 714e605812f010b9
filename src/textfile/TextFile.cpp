#include "textfile/TextFile.h"

#include "textfile/OwnFiles.h"
#include "textfile/PosixIo.h"

#include <QFileDevice>

#include <algorithm>

namespace zuno {

using namespace textfile;

Result<TextFileContent, TextFileError> readTextFile(const QString &path)
{
    auto read = readRegularFile(path);
    if (!read.ok())
        return read.error();
    RegularFile &file = read.value();
    removeLeftoverTemporaries(path);
    const FileStamp stamp = stampOf(file.info, file.digest);
    TextFileContent content = decodeText(std::move(file.bytes));
    content.stamp = stamp;
    return content;
}

Result<TextFileContent, TextFileError> readTextOnly(const QString &path)
{
    auto read = mapRegularFile(path);
    if (!read.ok())
        return read.error();
    TextFileContent content = decodeText(std::move(read.value().bytes));
    content.storage = std::move(read.value().storage);
    return content;
}

Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit)
{
    constexpr qint64 chunk = 1 << 20;
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray more = in.read(std::min(chunk, limit + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (bytes.size() > limit)
        return TextFileError{tooLargeReason(true), {}};
    const auto *file = qobject_cast<QFileDevice *>(&in);
    if (!in.isReadable() || (file && file->error() != QFileDevice::NoError))
        return TextFileError{in.errorString(), {}};
    return decodeText(std::move(bytes));
}

bool holdsTextAsItIs(const TextFileFormat &format)
{
    return format.encoding == TextEncoding::Utf8 && format.lineEnding == LineEnding::CrLf;
}

Result<WrittenText, TextFileError> writeTextFile(const QString &path, QByteArrayView text,
                                                 const TextFileFormat &format, const FileStamp &was)
{
    const bool asItIs = holdsTextAsItIs(format);
    const QByteArray encoded = asItIs ? QByteArray() : encodeText(text, format);
    const auto written = saveFileBytes(path, asItIs ? text : QByteArrayView(encoded), was);
    if (!written.ok())
        return written.error();
    return WrittenText{written.value(), asItIs ? format : writtenFormat(text, format)};
}

Result<WrittenText, TextFileError> writeTextFile(const QString &path, const BytesProducer &produce,
                                                 const TextFileFormat &format, const FileStamp &was)
{
    if (holdsTextAsItIs(format)) {
        const auto written = saveFileStream(path, produce, was);
        if (!written.ok())
            return written.error();
        return WrittenText{written.value(), format};
    }
    QByteArray text;
    if (!produce([&text](QByteArrayView piece) { text.append(piece); })) {
        TextFileError error;
        error.abandoned = true;
        return error;
    }
    return writeTextFile(path, text, format, was);
}

} // namespace zuno
