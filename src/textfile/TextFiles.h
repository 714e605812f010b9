#pragma once
// The text files as the editor's shell sees them: it reaches the disk only
// through this interface. DiskTextFiles is the real one, over the functions
// of TextFile.h and FileNames.h.
#include "textfile/FileNames.h"
#include "textfile/TextFile.h"

namespace zuno {

class ITextFiles {
public:
    virtual ~ITextFiles() = default;

    virtual bool exists(const QString &path) const = 0;
    // readTextFile, whole or in pieces.
    virtual Result<TextFileContent, TextFileError> read(const QString &path) const = 0;
    virtual Result<TextFileContent, TextFileError> read(const QString &path, const TextPieceTaker &take) const = 0;
    virtual Result<WrittenText, TextFileError> write(const QString &path, QByteArrayView text,
                                                     const TextFileFormat &format, const FileStamp &was) const = 0;
    // writeTextFile with the text made as it is written.
    virtual Result<WrittenText, TextFileError> write(const QString &path, const BytesProducer &produce,
                                                     const TextFileFormat &format, const FileStamp &was) const = 0;
    // readTextOnly: the text where it lies, for a look at what was written.
    virtual Result<TextFileContent, TextFileError> readInPlace(const QString &path) const = 0;
    virtual FileStamp stamp(const QString &path) const = 0;
    virtual DiskState compareWithDisk(const QString &path, const FileStamp &stamp) const = 0;
    virtual bool isSameFile(const QString &a, const QString &b) const = 0;
};

class DiskTextFiles : public ITextFiles {
public:
    bool exists(const QString &path) const override { return pathExists(path); }
    Result<TextFileContent, TextFileError> read(const QString &path) const override { return readTextFile(path); }
    Result<TextFileContent, TextFileError> read(const QString &path, const TextPieceTaker &take) const override
    {
        return readTextFile(path, take);
    }
    Result<WrittenText, TextFileError> write(const QString &path, QByteArrayView text, const TextFileFormat &format,
                                             const FileStamp &was) const override
    {
        return writeTextFile(path, text, format, was);
    }
    Result<WrittenText, TextFileError> write(const QString &path, const BytesProducer &produce,
                                             const TextFileFormat &format, const FileStamp &was) const override
    {
        return writeTextFile(path, produce, format, was);
    }
    Result<TextFileContent, TextFileError> readInPlace(const QString &path) const override
    {
        return readTextOnly(path);
    }
    FileStamp stamp(const QString &path) const override { return fileStamp(path); }
    DiskState compareWithDisk(const QString &path, const FileStamp &stamp) const override
    {
        return zuno::compareWithDisk(path, stamp);
    }
    bool isSameFile(const QString &a, const QString &b) const override { return zuno::isSameFile(a, b); }
};

} // namespace zuno
