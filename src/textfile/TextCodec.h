#pragma once
// Text files' bytes to text and back. In memory a text is UTF-8 with its
// lines separated by "\r\n", as the edit control holds it.
//
// Any bytes can be read: valid UTF-8 (with or without a byte-order mark) is
// taken as it is, anything else as Latin-1, so that every byte survives.
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

#include "textfile/TextFileTypes.h"
#include "text/Utf8Text.h"

#include <QByteArrayView>

namespace zuno {

// Whether the bytes are well-formed UTF-8: no malformed, overlong, cut-off
// or surrogate sequence.
bool isUtf8(QByteArrayView bytes);

// The same of bytes given a piece at a time, where a sequence may be cut
// between two pieces.
class Utf8Check {
public:
    void add(QByteArrayView piece);
    // Whether all the bytes added are UTF-8 (after the last piece).
    bool valid() const { return m_valid && m_carried == 0; }
    // Whether they can no longer be, whatever follows.
    bool failed() const { return !m_valid; }

private:
    bool m_valid = true;
    unsigned char m_carry[4] = {}; // a sequence cut at the end of a piece
    int m_carried = 0;
};

// Pure: bytes to text and back. encodeText(decodeText(b).text,
// decodeText(b).format) == b for every b. (decodeText leaves the stamp
// empty.) A UTF-8 file with "\r\n" line breaks and no byte-order mark is
// its own text: the bytes are shared, not copied.
TextFileContent decodeText(QByteArray bytes);
// Where the format cannot hold the text, the text is written so that nothing
// is lost, and reading it back gives the same text: characters beyond Latin-1
// make a Latin-1 file UTF-8, and a lone "\r" right before a line break makes
// a "\n" file "\r\n". writtenFormat() tells which format is used.
QByteArray encodeText(QByteArrayView text, const TextFileFormat &format);
TextFileFormat writtenFormat(QByteArrayView text, const TextFileFormat &format);

} // namespace zuno
