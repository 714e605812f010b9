#pragma once
// Reading and writing ZUNO data files as plain text: the codec
// (TextCodec.h) over the safe save (SafeSave.h), with the file's stamp
// (FileStamp.h). The whole text-file layer is reached through this header.

#include "textfile/FileStamp.h"
#include "textfile/SafeSave.h"
#include "textfile/TextCodec.h"
#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArrayView>
#include <QIODevice>

namespace zuno {

// Reads the whole file; a missing file, a folder or an unreadable file is
// an error carrying the system's reason. Only regular files are read: a
// named pipe, a device or a socket is refused without being opened for
// long, and so is a file of more than MaxTextFileBytes.
Result<TextFileContent, TextFileError> readTextFile(const QString &path);

// Reads a stream (standard input) to its end, but stops with an error once
// it has given more than `limit` bytes.
Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit = MaxTextFileBytes);

// Writes the text to `path` in `format` through the safe save (see
// SafeSave.h). On success the value is the stamp of the written file.
Result<FileStamp, TextFileError> writeTextFile(const QString &path, const QString &text,
                                               const TextFileFormat &format);
// The same for a text given as UTF-8 (the edit control's own bytes): a UTF-8
// file with "\r\n" line breaks is written from them as they are, without
// holding the text once more. Answers the written file's stamp and the
// format it was written in (see writtenFormat()).
struct WrittenText {
    FileStamp stamp;
    TextFileFormat format;
};
Result<WrittenText, TextFileError> writeUtf8TextFile(const QString &path, QByteArrayView utf8Text,
                                                     const TextFileFormat &format);

} // namespace zuno
