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

#include <functional>

namespace zuno {

// Whether a file in `format` holds any text as it is held in memory (UTF-8
// with "\r\n" line breaks): its bytes are the text's own.
bool holdsTextAsItIs(const TextFileFormat &format);

// Reads the whole file for editing, with its stamp; a missing file, a
// folder or an unreadable file is an error carrying the system's reason.
// Only regular files are read: a named pipe, a device or a socket is
// refused without being opened for long, and so is a file of more than
// MaxTextFileBytes. Temporary files that a killed save of this file left
// beside it are removed.
Result<TextFileContent, TextFileError> readTextFile(const QString &path);
// The same, but a file whose bytes are its text as it is held (UTF-8
// without a byte-order mark, with "\r\n" line breaks or on one line) is
// never held whole: it is read a megabyte at a time, each piece handed to
// `take` (with the file's size; false stops the reading) as it is read, and
// the answer says so (handedOver), its text empty. Any other file is read
// whole into the answer's text, and the pieces `take` was given before the
// reading found that out are to be let go. A file that changes while it is
// read is an error.
using TextPieceTaker = std::function<bool(qint64 size, QByteArrayView piece)>;
Result<TextFileContent, TextFileError> readTextFile(const QString &path, const TextPieceTaker &take);
// The same for a text that is only converted: no stamp, nothing else done,
// and the file's bytes not copied where they are the text (they are mapped
// into memory; see TextFileContent::storage).
Result<TextFileContent, TextFileError> readTextOnly(const QString &path);

// Reads a stream (standard input) to its end, but stops with an error once
// it has given more than `limit` bytes.
Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit = MaxTextFileBytes);

// Writes the UTF-8 text to `path` in `format` through the safe save (see
// SafeSave.h): a UTF-8 file with "\r\n" line breaks straight from the
// text's bytes. Answers the written file's stamp and the format it was
// written in (see writtenFormat()). A file that has vanished since `was`
// was taken of it is made again with the permissions (and, for the
// superuser, the owner) it had.
struct WrittenText {
    FileStamp stamp;
    TextFileFormat format;
};
Result<WrittenText, TextFileError> writeTextFile(const QString &path, QByteArrayView text,
                                                 const TextFileFormat &format, const FileStamp &was = {});
// The same with the text made as it is written (saveFileStream): a UTF-8
// file with "\r\n" line breaks takes each piece as it comes and never holds
// the text whole; any other format is gathered whole first, for its
// encoding depends on the whole text. A producer that gives up leaves the
// file as it was and answers an error marked `abandoned`.
Result<WrittenText, TextFileError> writeTextFile(const QString &path, const BytesProducer &produce,
                                                 const TextFileFormat &format, const FileStamp &was = {});

} // namespace zuno
