#pragma once
// The protocol's framing: each message is a header ("Content-Length: N",
// other fields ignored, lines ended by "\r\n", an empty line after them)
// and N bytes of JSON.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zuno::lsp {

// The largest message body taken: a 512 MiB document, escaped.
inline constexpr qint64 MaxMessageBytes = qint64(1) << 30;

class MessageReader {
public:
    void feed(QByteArrayView bytes) { m_buffer.append(bytes); }

    struct Message {
        QByteArray body;
        QString headerError; // when not empty, the header was bad: no body
    };
    // The next whole message, or nothing until more bytes come. A header
    // without a usable Content-Length is given as an error and skipped; a
    // body too large is skipped as it comes.
    std::optional<Message> next();

private:
    QByteArray m_buffer;
    qsizetype m_start = 0;
    qint64 m_skipping = 0;
};

// The header and body of one message.
QByteArray framed(const QByteArray &body);

} // namespace zuno::lsp
