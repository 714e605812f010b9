#pragma once
// The language server's conversation: JSON-RPC messages from the client in,
// answers and notifications out. Takes the documents that the client opens
// and changes (whole or in pieces), publishes their problems after each
// change, and answers for their symbols, folding ranges and hovers. A bad
// message gets the protocol's error answer (a notification that cannot be
// understood is dropped); only `exit` ends the conversation.

#include "lsp/LspDocument.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace zuno::lsp {

class LspServer {
public:
    // `send` takes each message's body (without its header).
    explicit LspServer(std::function<void(const QByteArray &)> send) : m_send(std::move(send)) {}

    // One message's body, as it came. Answers the exit status once `exit`
    // has come: 0 after `shutdown`, 1 without it.
    std::optional<int> handle(const QByteArray &body);

    // A message whose header could not be read.
    void badHeader(const QString &why);

    // The JSON-RPC error codes used.
    enum ErrorCode {
        ParseError = -32700,
        InvalidRequest = -32600,
        MethodNotFound = -32601,
        InvalidParams = -32602,
        ServerNotInitialized = -32002,
    };

private:
    void dispatch(const QString &method, const QJsonValue &id, const QJsonObject &params, bool isRequest);
    void respond(const QJsonValue &id, const QJsonValue &result);
    void fail(const QJsonValue &id, int code, const QString &message);
    void notify(const QString &method, const QJsonObject &params);
    void publish(const QString &uri, const LspDocument &document);

    QJsonObject initializeResult() const;
    // The document of the params' textDocument.uri, or null (having
    // answered the error, for a request).
    LspDocument *documentOf(const QJsonObject &params, const QJsonValue &id, bool isRequest);
    void didChange(const QJsonObject &params);

    std::function<void(const QByteArray &)> m_send;
    std::map<QString, std::unique_ptr<LspDocument>> m_documents;
    bool m_initialized = false;
    bool m_shutdown = false;
    std::optional<int> m_exit;
    // The large text taken out of the message being handled (LargeText.h).
    std::optional<QStringList> m_lifted;
};

// Serves the protocol on standard input and output until `exit` (or the end
// of the input); answers the process's exit status.
int runLanguageServer();

} // namespace zuno::lsp
