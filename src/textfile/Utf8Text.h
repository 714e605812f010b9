#pragma once
// A text file's bytes as the edit control holds its text: UTF-8 with "\r\n"
// line breaks, made from the file's bytes without a UTF-16 copy, and by the
// same rules as decodeText (TextCodec.h): the same text, the same format.
#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArray>

namespace zuno {

struct Utf8TextContent {
    QByteArray utf8;       // lines separated by "\r\n"
    TextFileFormat format; // how the bytes were encoded
    FileStamp stamp;       // the file as it was read
};

// A file in UTF-8 without a byte-order mark and with "\r\n" line breaks is
// its own text: the bytes are handed on, not copied.
Utf8TextContent decodeToUtf8(QByteArray bytes);

// Reads the whole file as readTextFile does (TextFile.h), with the same
// errors.
Result<Utf8TextContent, TextFileError> readUtf8TextFile(const QString &path);

} // namespace zuno
