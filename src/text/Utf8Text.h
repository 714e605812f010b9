#pragma once
// UTF-8 bytes as the program's text (UTF-16 units, as QString counts them),
// one rule for every layer:
// - a valid sequence gives its character (a byte-order mark at the start
//   too: QString::fromUtf8 would drop it), one unit, or two beyond U+FFFF;
// - every other byte (a stray continuation byte, a lead byte whose sequence
//   is cut short or malformed, an overlong form, a surrogate) gives one
//   U+FFFD, also at the end of the bytes.
// The lengths and positions below count by that same rule on the bytes
// themselves, so that they agree with the decoded text also where the
// bytes are malformed (a U+FFFD decoded from one byte is one byte there).
#include <QByteArrayView>
#include <QChar>
#include <QString>

namespace zuno {

QString utf8ToText(QByteArrayView bytes);
// The same, written at `out` (room for bytes.size() units); returns the end.
QChar *utf8ToTextAt(QChar *out, QByteArrayView bytes);

// The number of bytes of the character that starts at `p` (n bytes at
// most), or 0 when the byte there starts none (it decodes as U+FFFD).
int utf8SequenceLength(const char *p, qsizetype n);

// The units `bytes` decode to.
qsizetype utf16Length(QByteArrayView bytes);

// The byte of `bytes` where the first `units` units of their text end: the
// byte position of a UTF-16 offset. An offset between the two units of a
// pair goes past the pair; one beyond the text stops at its end.
qsizetype utf8PositionOf(QByteArrayView bytes, qint64 units);

// utf8PositionOf for offsets that only grow: each call walks on from the
// last.
class Utf8Walker {
public:
    explicit Utf8Walker(QByteArrayView bytes) : m_bytes(bytes) {}
    qsizetype positionOf(qint64 units);

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
    qint64 m_units = 0;
};

} // namespace zuno
