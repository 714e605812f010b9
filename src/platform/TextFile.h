#pragma once
// Reading and writing ZUNO data files as plain text.
//
// Any bytes can be read: valid UTF-8 (with or without a byte-order mark) is
// decoded as UTF-8, anything else as Latin-1, so that every byte survives.
// A file is written back in the encoding and line-ending convention it was
// read with, so opening and saving an unchanged file gives identical bytes.
//
// In memory, lines are always separated by "\r\n":
// - a file whose line breaks are all "\n" is read with "\r\n" and written
//   back with "\n";
// - a file that mixes "\r\n" and lone "\n" line breaks is read with every
//   line break as "\r\n" and written back with the kind of line break it held
//   more of ("\r\n" on a tie): no character is lost, but saving evens out its
//   line breaks;
// - a lone "\r" (one not followed by "\n") is no line break: it is a
//   character of its line, read and written as it is.

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace zuno {

enum class TextEncoding { Utf8, Utf8Bom, Latin1 };
enum class LineEnding { CrLf, Lf };

struct TextFileFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnding lineEnding = LineEnding::CrLf;
    friend bool operator==(const TextFileFormat &, const TextFileFormat &) = default;
};

struct TextFileContent {
    QString text;          // lines separated by "\r\n"
    TextFileFormat format; // how the bytes were encoded
};

struct TextFileError {
    QString message;       // the system's reason, e.g. "Permission denied"
};

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
// an error carrying the system's reason.
std::variant<TextFileContent, TextFileError> readTextFile(const QString &path);

// Writes atomically (a temporary file in the same folder, flushed to disk and
// renamed over the target): on failure the old file is left whole and the
// error carries the system's reason. Keeps the existing file's permissions.
std::optional<TextFileError> writeTextFile(const QString &path, const QString &text,
                                           const TextFileFormat &format);

} // namespace zuno
