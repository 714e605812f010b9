#pragma once
// Reading and writing ZUNO data files as plain text.
//
// Any bytes can be read: valid UTF-8 (with or without a byte-order mark) is
// decoded as UTF-8, anything else as Latin-1, so that every byte survives.
// A file is written back in the encoding and line-ending convention it was
// read with, so opening and saving an unchanged file gives identical bytes.
//
// In memory, lines are always separated by "\r\n":
// - a file that holds at least one "\r\n" is read as it is: its lines are
//   separated by "\r\n", and every lone "\r" or "\n" in it is a character
//   of its line, read and written as it is;
// - a file without "\r\n" whose lines end in "\n" is an LF file: read with
//   "\r\n", written back with "\n" (a lone "\r" in it is a character);
// - a file with neither is one line, whatever "\r" it holds.
// Only a text with lone "\n" and no "\r\n" at all cannot come back as it
// was: its file reads as an LF file.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "Result.h"

namespace zuno {

enum class TextEncoding { Utf8, Utf8Bom, Latin1 };
enum class LineEnding { CrLf, Lf };

struct TextFileFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnding lineEnding = LineEnding::CrLf;
    friend bool operator==(const TextFileFormat &, const TextFileFormat &) = default;
};

// The largest file, or standard input, that the editor and the converter
// take: 512 MiB. The edit control counts positions in 32-bit integers, so a
// text must stay under 2^31 characters; in memory a file's text can reach
// twice its bytes (every lone "\n" gains a "\r"), and the Record layout adds
// further characters, which leaves 512 MiB with room to spare.
inline constexpr qint64 MaxTextFileBytes = qint64(512) * 1024 * 1024;

// What a file on disk was when the program last read or wrote it: enough to
// tell later whether someone else has changed or replaced it since.
struct FileStamp {
    bool valid = false;   // false: nothing known
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, ns since the epoch
    qint64 changedNs = 0;  // status change time
    qint64 takenNs = 0;    // when the stamp was taken
    QByteArray hash;       // SHA-1 of the bytes
};

struct TextFileContent {
    QString text;          // lines separated by "\r\n"
    TextFileFormat format; // how the bytes were encoded
    FileStamp stamp;       // the file as it was read (files only)
};

struct TextFileError {
    QString message;       // the system's reason, e.g. "Permission denied"
    // Set when the reason concerns the folder the file is to be made in
    // (a new file in a folder that may not be written), not the file.
    QString folder;
};

// UTF-8 to text, every character kept: a byte-order mark at the start too
// (QString::fromUtf8 drops it). Malformed bytes become U+FFFD.
QString utf8ToText(QByteArrayView bytes);

// Pure: bytes to text and back. encodeText(decodeText(b).text,
// decodeText(b).format) == b for every b.
TextFileContent decodeText(const QByteArray &bytes);
// Where the format cannot hold the text, the text is written so that nothing
// is lost, and reading it back gives the same text: characters beyond Latin-1
// make a Latin-1 file UTF-8, and a lone "\r" right before a line break makes
// a "\n" file "\r\n". writtenFormat() tells which format is used.
QByteArray encodeText(const QString &text, const TextFileFormat &format);
TextFileFormat writtenFormat(const QString &text, const TextFileFormat &format);

// Reads the whole file; a missing file, a folder or an unreadable file is
// an error carrying the system's reason. Only regular files are read: a
// named pipe, a device or a socket is refused without being opened for
// long, and so is a file of more than MaxTextFileBytes.
Result<TextFileContent, TextFileError> readTextFile(const QString &path);

// Reads a stream (standard input) to its end, but stops with an error once
// it has given more than `limit` bytes.
Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit = MaxTextFileBytes);

// Writes the text to `path` so that the file stays the file:
// - where nothing else about it changes, atomically: a new file is written
//   in the same folder (unnamed until it is complete, where the file system
//   allows), flushed to disk and renamed over the old one, with the old
//   one's permissions, owner, group and extended attributes (ACLs among
//   them). A save that is killed leaves the old file or the new one;
//   temporary files of our own naming that a killed save left behind are
//   removed at the next save into that folder;
// - where that would lose the owner or group, an extended attribute or a
//   hard link, or the folder may not be written: in place. The old bytes are
//   copied to a backup beside the file first (kept in memory when no backup
//   can be made), and written back if the write fails;
// - a file that may not be written, or is no regular file, is refused.
// A symbolic link stays a link: its target is written. On failure the error
// carries the system's reason and the old file is as it was. On success the
// value is the stamp of the written file.
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

// The stamp of the file at `path` as it is now (invalid when it cannot be
// read).
FileStamp fileStamp(const QString &path);

enum class DiskState { Unchanged, Changed, Missing };
// Whether the file at `path` still holds what `stamp` describes. A file whose
// status is unchanged is taken as unchanged (unless it was changed within
// moments of the stamp, where the clock cannot tell); otherwise its bytes
// decide. A file that cannot be examined counts as changed.
DiskState compareWithDisk(const QString &path, const FileStamp &stamp);

// Whether both paths name the same file (the same path, or the same file
// reached through links).
bool isSameFile(const QString &a, const QString &b);

// The file system decides whether unnamed temporary files are used; tests
// switch them off to exercise the named fallback.
void allowUnnamedTemporaryFiles(bool allowed);

} // namespace zuno
