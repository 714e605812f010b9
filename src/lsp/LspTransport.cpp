#include "lsp/LspTransport.h"

#include "lsp/LspServer.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace zuno::lsp {

namespace {

class LanguageServer {
    Q_DECLARE_TR_FUNCTIONS(LanguageServer)
};

constexpr QByteArrayView HeaderEnd = "\r\n\r\n";
constexpr QByteArrayView LengthField = "content-length:";

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

} // namespace

QByteArray framed(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

std::optional<MessageReader::Message> MessageReader::next()
{
    // A body too large is dropped as it comes.
    if (m_skipping > 0) {
        const qint64 dropped = std::min<qint64>(m_skipping, m_buffer.size() - m_start);
        m_start += dropped;
        m_skipping -= dropped;
        if (m_skipping > 0) {
            m_buffer.clear();
            m_start = 0;
            return std::nullopt;
        }
    }
    const qsizetype end = m_buffer.indexOf(HeaderEnd, m_start);
    if (end < 0) {
        // Keep only what is unread.
        if (m_start > 0) {
            m_buffer.remove(0, m_start);
            m_start = 0;
        }
        return std::nullopt;
    }
    const QByteArray header = m_buffer.sliced(m_start, end - m_start);
    const qsizetype bodyStart = end + HeaderEnd.size();
    qint64 length = -1;
    for (const QByteArray &field : header.split('\n')) {
        // The field is looked for anywhere in its line: after a message
        // whose Content-Length was too short, what is left of its body
        // stands before the next header, which is still read.
        const QByteArray trimmed = field.trimmed();
        const qsizetype at = trimmed.toLower().lastIndexOf(LengthField);
        if (at >= 0) {
            bool ok = false;
            length = trimmed.sliced(at + LengthField.size()).trimmed().toLongLong(&ok);
            if (!ok || length < 0)
                length = -2;
        }
    }
    if (length < 0) {
        m_start = bodyStart;
        return Message{QByteArray(), LanguageServer::tr("The message's header has no valid Content-Length.")};
    }
    if (length > MaxMessageBytes) {
        m_start = bodyStart;
        m_skipping = length;
        return Message{QByteArray(), LanguageServer::tr("The message is larger than %1 bytes.").arg(MaxMessageBytes)};
    }
    if (m_buffer.size() - bodyStart < length) {
        // A large body is gathered in one buffer, grown once.
        m_buffer.reserve(bodyStart + length);
        return std::nullopt;
    }
    Message message{m_buffer.sliced(bodyStart, length), QString()};
    m_start = bodyStart + length;
    if (m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    }
    return message;
}

int runLanguageServer()
{
    // A client that goes away ends the server through the end of its input,
    // not through a signal on writing.
    std::signal(SIGPIPE, SIG_IGN);
    LspServer server([](const QByteArray &body) { writeAll(STDOUT_FILENO, framed(body)); });
    MessageReader reader;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        while (auto message = reader.next()) {
            if (!message->headerError.isEmpty()) {
                server.badHeader(message->headerError);
                continue;
            }
            if (const auto status = server.handle(message->body))
                return *status;
        }
        const ssize_t got = ::read(STDIN_FILENO, chunk.data(), size_t(chunk.size()));
        if (got < 0 && errno == EINTR)
            continue;
        // The client has gone without `exit`.
        if (got <= 0)
            return 1;
        reader.feed(QByteArrayView(chunk.constData(), got));
    }
}

} // namespace zuno::lsp
