#pragma once
// The plain types of the text-file layer: how a file's bytes encode its
// text, what a file was when it was read or written, and why an operation
// failed.

#include <QByteArray>
#include <QString>

#include <memory>

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
    quint64 digest = 0;    // of the bytes (Digest.h)
    // Permissions and owner, which a file that has vanished is made again
    // with.
    quint32 mode = 0;      // the permission bits
    quint32 owner = 0;
    quint32 group = 0;
};

struct TextFileContent {
    QByteArray text;       // UTF-8, lines separated by "\r\n"
    TextFileFormat format; // how the bytes were encoded
    FileStamp stamp;       // the file as it was read (files only)
    // What `text` lives in when it is the file's own bytes mapped into
    // memory (readTextOnly), else nothing.
    std::shared_ptr<const void> storage;
    // Set when the text went, piece by piece, to the reader's taker
    // (readTextFile with a TextPieceTaker): `text` is then empty.
    bool handedOver = false;
};

struct TextFileError {
    QString message;       // the system's reason, e.g. "Permission denied"
    // Set when the reason concerns the folder the file is to be made in
    // (a new file in a folder that may not be written), not the file.
    QString folder;
    // Set when the bytes' own producer gave the write up (SafeSave.h): the
    // producer knows why, and nothing was written.
    bool abandoned = false;
};

} // namespace zuno
