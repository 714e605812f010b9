#include "lsp/LspServer.h"

#include "lsp/LargeText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace zuno::lsp {

namespace {

class LanguageServer {
    Q_DECLARE_TR_FUNCTIONS(LanguageServer)
};

// TextDocumentSyncKind.Incremental
constexpr int IncrementalSync = 2;

std::optional<Position> positionOf(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    // Both are the protocol's uinteger: whole numbers from 0 to 2^31 - 1.
    const auto uinteger = [](const QJsonValue &value) -> std::optional<qsizetype> {
        const double number = value.toDouble(-1);
        if (!value.isDouble() || number < 0 || number > 2147483647.0 || number != std::floor(number))
            return std::nullopt;
        return qsizetype(number);
    };
    const auto line = uinteger(object.value("line"));
    const auto character = uinteger(object.value("character"));
    if (!line || !character)
        return std::nullopt;
    return Position{*line, *character};
}

} // namespace

void LspServer::respond(const QJsonValue &id, const QJsonValue &result)
{
    m_send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}}).toJson(QJsonDocument::Compact));
}

void LspServer::fail(const QJsonValue &id, int code, const QString &message)
{
    const QJsonObject error{{"code", code}, {"message", message}};
    m_send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"error", error}}).toJson(QJsonDocument::Compact));
}

void LspServer::notify(const QString &method, const QJsonObject &params)
{
    m_send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}})
               .toJson(QJsonDocument::Compact));
}

void LspServer::badHeader(const QString &why)
{
    fail(QJsonValue::Null, ParseError, why);
}

void LspServer::publish(const QString &uri, const LspDocument &document)
{
    notify("textDocument/publishDiagnostics", QJsonObject{{"uri", uri}, {"diagnostics", document.diagnostics()}});
}

QJsonObject LspServer::initializeResult() const
{
    const QJsonObject sync{{"openClose", true}, {"change", IncrementalSync}};
    const QJsonObject capabilities{{"positionEncoding", "utf-16"},
                                   {"textDocumentSync", sync},
                                   {"documentSymbolProvider", true},
                                   {"foldingRangeProvider", true},
                                   {"hoverProvider", true}};
    return QJsonObject{{"capabilities", capabilities}, {"serverInfo", QJsonObject{{"name", "zunopad"}}}};
}

std::optional<int> LspServer::handle(const QByteArray &body)
{
    LiftedMessage lifted = liftLargeString(body);
    m_lifted = std::move(lifted.lines);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(lifted.body, &error);
    lifted.body = QByteArray();
    if (error.error != QJsonParseError::NoError) {
        fail(QJsonValue::Null, ParseError, LanguageServer::tr("The message is not JSON: %1").arg(error.errorString()));
        return std::nullopt;
    }
    const QJsonObject message = document.object();
    const QJsonValue id = message.value("id");
    const bool hasId = message.contains("id");
    const QJsonValue method = message.value("method");
    if (!document.isObject() || !method.isString() || (hasId && !id.isDouble() && !id.isString())) {
        // An answer to a request of ours (none are made) is dropped.
        if (document.isObject() && hasId && (message.contains("result") || message.contains("error")))
            return std::nullopt;
        fail(id.isDouble() || id.isString() ? id : QJsonValue(QJsonValue::Null), InvalidRequest,
             LanguageServer::tr("The message is not a request or a notification."));
        return std::nullopt;
    }
    // "params": null, which some clients send with shutdown and exit, is
    // taken as no params.
    const QJsonValue params = message.value("params");
    if (!params.isUndefined() && !params.isNull() && !params.isObject() && !params.isArray()) {
        if (hasId)
            fail(id, InvalidParams, LanguageServer::tr("The params are not an object."));
        return std::nullopt;
    }
    dispatch(method.toString(), id, params.toObject(), hasId);
    return m_exit;
}

void LspServer::dispatch(const QString &method, const QJsonValue &id, const QJsonObject &params, bool isRequest)
{
    if (method == u"exit") {
        m_exit = m_shutdown ? 0 : 1;
        return;
    }
    if (method == u"initialize" && isRequest) {
        m_initialized = true;
        respond(id, initializeResult());
        return;
    }
    if (!m_initialized) {
        if (isRequest)
            fail(id, ServerNotInitialized, LanguageServer::tr("The server has not been initialized."));
        return;
    }
    if (m_shutdown) {
        if (isRequest)
            fail(id, InvalidRequest, LanguageServer::tr("The server has been shut down."));
        return;
    }
    if (method == u"shutdown" && isRequest) {
        m_shutdown = true;
        respond(id, QJsonValue::Null);
    } else if (method == u"textDocument/didOpen") {
        const QJsonObject item = params.value("textDocument").toObject();
        const QString uri = item.value("uri").toString();
        if (uri.isEmpty() || !item.value("text").isString())
            return;
        auto &document = m_documents[uri];
        const QString text = item.value("text").toString();
        if (m_lifted && text == liftedTextMarker())
            document = std::make_unique<LspDocument>(std::move(*m_lifted));
        else
            document = std::make_unique<LspDocument>(text);
        publish(uri, *document);
    } else if (method == u"textDocument/didChange") {
        didChange(params);
    } else if (method == u"textDocument/didClose") {
        const QString uri = params.value("textDocument").toObject().value("uri").toString();
        if (m_documents.erase(uri) > 0)
            notify("textDocument/publishDiagnostics", QJsonObject{{"uri", uri}, {"diagnostics", QJsonArray()}});
    } else if (method == u"textDocument/documentSymbol") {
        if (LspDocument *document = documentOf(params, id, isRequest))
            respond(id, document->symbols());
    } else if (method == u"textDocument/foldingRange") {
        if (LspDocument *document = documentOf(params, id, isRequest))
            respond(id, document->foldingRanges());
    } else if (method == u"textDocument/hover") {
        LspDocument *document = documentOf(params, id, isRequest);
        if (!document)
            return;
        const auto at = positionOf(params.value("position"));
        if (!at) {
            fail(id, InvalidParams, LanguageServer::tr("The position is missing or not a position."));
            return;
        }
        const auto words = document->hover(*at);
        if (!words)
            respond(id, QJsonValue::Null);
        else
            respond(id, QJsonObject{{"contents", QJsonObject{{"kind", "plaintext"}, {"value", *words}}}});
    } else if (isRequest) {
        fail(id, MethodNotFound, LanguageServer::tr("Unknown method '%1'.").arg(method));
    }
    // Other notifications ($/cancelRequest, initialized, didSave, ...) need
    // nothing.
}

LspDocument *LspServer::documentOf(const QJsonObject &params, const QJsonValue &id, bool isRequest)
{
    const QString uri = params.value("textDocument").toObject().value("uri").toString();
    const auto found = m_documents.find(uri);
    if (found != m_documents.end())
        return found->second.get();
    if (isRequest)
        fail(id, InvalidParams, LanguageServer::tr("The document '%1' is not open.").arg(uri));
    return nullptr;
}

void LspServer::didChange(const QJsonObject &params)
{
    const QString uri = params.value("textDocument").toObject().value("uri").toString();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        return;
    LspDocument &document = *found->second;
    for (const QJsonValue &changeValue : params.value("contentChanges").toArray()) {
        const QJsonObject change = changeValue.toObject();
        const QJsonValue value = change.value("text");
        if (!value.isString())
            continue;
        const bool lifted = m_lifted && value.toString() == liftedTextMarker();
        if (!change.contains("range")) {
            if (lifted)
                document.setLines(std::move(*m_lifted));
            else
                document.setText(value.toString());
            continue;
        }
        const QString text = lifted ? m_lifted->join(u'\n') : value.toString();
        const QJsonObject range = change.value("range").toObject();
        const auto from = positionOf(range.value("start"));
        const auto to = positionOf(range.value("end"));
        if (from && to)
            document.replace(*from, *to, text);
    }
    publish(uri, document);
}

} // namespace zuno::lsp
