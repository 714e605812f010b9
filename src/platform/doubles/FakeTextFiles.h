#pragma once
// The text files in memory, for the shell's logic tests: each path holds a
// file's bytes, read and written through the real codec (TextCodec.h), so
// that only the disk is left out. A file's stamp is the digest of its bytes,
// so a file written again with the same bytes is unchanged, as on disk.
#include "textfile/TextCodec.h"
#include "textfile/TextFiles.h"

#include <QHash>
#include <QMap>

namespace zuno {

class FakeTextFiles : public ITextFiles {
public:
    bool exists(const QString &path) const override { return bytes.contains(path); }
    Result<TextFileContent, TextFileError> read(const QString &path) const override
    {
        if (!bytes.contains(path))
            return TextFileError{QStringLiteral("No such file or directory"), {}};
        TextFileContent content = decodeText(bytes.value(path));
        content.stamp = stamp(path);
        return content;
    }
    // Read whole: handing a file over in pieces is the real reader's own.
    Result<TextFileContent, TextFileError> read(const QString &path, const TextPieceTaker &) const override
    {
        return read(path);
    }
    Result<WrittenText, TextFileError> write(const QString &path, QByteArrayView text, const TextFileFormat &format,
                                             const FileStamp &) const override
    {
        bytes.insert(path, encodeText(text, format));
        return WrittenText{stamp(path), writtenFormat(text, format)};
    }
    Result<WrittenText, TextFileError> write(const QString &path, const BytesProducer &produce,
                                             const TextFileFormat &format, const FileStamp &was) const override
    {
        QByteArray text;
        if (!produce([&text](QByteArrayView piece) { text.append(piece); })) {
            TextFileError error;
            error.abandoned = true;
            return error;
        }
        return write(path, text, format, was);
    }
    Result<TextFileContent, TextFileError> readInPlace(const QString &path) const override { return read(path); }
    FileStamp stamp(const QString &path) const override
    {
        if (!bytes.contains(path))
            return {};
        FileStamp stamp;
        stamp.valid = true;
        stamp.size = bytes.value(path).size();
        stamp.digest = qHash(bytes.value(path));
        return stamp;
    }
    DiskState compareWithDisk(const QString &path, const FileStamp &was) const override
    {
        if (!bytes.contains(path))
            return DiskState::Missing;
        return stamp(path).digest == was.digest ? DiskState::Unchanged : DiskState::Changed;
    }
    bool isSameFile(const QString &a, const QString &b) const override { return a == b; }

    // The files: path to bytes. The tests write here as another program
    // would; the document's saves land here too.
    mutable QMap<QString, QByteArray> bytes;
};

} // namespace zuno
