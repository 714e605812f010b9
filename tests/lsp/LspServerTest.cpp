// The language server through its protocol: a scripted client opens,
// changes and closes documents and reads the diagnostics, symbols, folding
// ranges and hovers; bad messages get error answers and never end it.
#include "lsp/LargeText.h"
#include "lsp/LspServer.h"
#include "lsp/LspTransport.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zuno::lsp {
namespace {

const QString Uri = QStringLiteral("file:///srv/project/MAIN.PRJ");

// The lines of a document as the server holds them.
QStringList LspDocumentLines(const QString &text)
{
    const LspDocument document(text);
    QStringList lines;
    for (qsizetype i = 0; i < document.lineCount(); ++i)
        lines.append(document.line(i));
    return lines;
}

// 48 values over two PL lines, cut as the List layout cuts them.
QString projectText()
{
    QStringList first;
    QStringList second;
    for (int i = 1; i <= 48; ++i)
        (i <= 20 ? first : second).append(QString::number(1000 + i));
    return QStringList({"AC:1001", "NM:CENTRE LINE", "BG:CL", "PL:" + first.join(',') + ',', "PL:" + second.join(','),
                        "EG:CL", "AC:OS", "BG:K1", "PL:1,2"})
        .join("\r\n");
}

class Client : public ::testing::Test {
protected:
    Client() : m_server([this](const QByteArray &body) { m_received.append(QJsonDocument::fromJson(body).object()); })
    {
    }

    void SetUp() override
    {
        const QJsonObject answer = request("initialize", QJsonObject{{"capabilities", QJsonObject()}});
        const QJsonObject capabilities = answer.value("result").toObject().value("capabilities").toObject();
        ASSERT_EQ(capabilities.value("textDocumentSync").toObject().value("change"), 2);
        notify("initialized", QJsonObject());
    }

    // Sends a body as it is; answers the exit status once `exit` came.
    std::optional<int> send(const QByteArray &body) { return m_server.handle(body); }

    void notify(const QString &method, const QJsonObject &params)
    {
        send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}).toJson());
    }

    // The answer to the request.
    const QJsonObject request(const QString &method, const QJsonObject &params)
    {
        const int id = ++m_id;
        m_received.clear();
        send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}).toJson());
        for (const QJsonObject &message : m_received) {
            if (message.value("id") == id)
                return message;
        }
        ADD_FAILURE() << "no answer to " << method.toStdString();
        return {};
    }

    QJsonObject document() const { return QJsonObject{{"uri", Uri}}; }

    // The diagnostics last published for the document: line, severity.
    QList<std::pair<int, int>> diagnostics() const
    {
        for (auto message = m_received.rbegin(); message != m_received.rend(); ++message) {
            if (message->value("method") != "textDocument/publishDiagnostics")
                continue;
            QList<std::pair<int, int>> found;
            for (const QJsonValue &d : message->value("params").toObject().value("diagnostics").toArray())
                found.append({d["range"]["start"]["line"].toInt(), d["severity"].toInt()});
            return found;
        }
        return {{-1, -1}};
    }

    void open(const QString &text)
    {
        m_received.clear();
        notify("textDocument/didOpen",
               QJsonObject{{"textDocument", QJsonObject{{"uri", Uri}, {"languageId", "zuno"}, {"version", 1}, {"text", text}}}});
    }

    void change(int line, int from, int toLine, int to, const QString &text)
    {
        m_received.clear();
        const QJsonObject range{{"start", QJsonObject{{"line", line}, {"character", from}}},
                                {"end", QJsonObject{{"line", toLine}, {"character", to}}}};
        notify("textDocument/didChange",
               QJsonObject{{"textDocument", QJsonObject{{"uri", Uri}, {"version", 2}}},
                           {"contentChanges", QJsonArray{QJsonObject{{"range", range}, {"text", text}}}}});
    }

    QString hover(int line, int character)
    {
        const QJsonObject answer = request(
            "textDocument/hover",
            QJsonObject{{"textDocument", document()}, {"position", QJsonObject{{"line", line}, {"character", character}}}});
        return answer.value("result").toObject().value("contents").toObject().value("value").toString();
    }

    LspServer m_server;
    QList<QJsonObject> m_received;
    int m_id = 0;
};

TEST_F(Client, DiagnosticsFollowOpeningChangingAndClosing)
{
    open(projectText());
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{}));
    // A line without a colon typed into the record, then a value with two
    // spaces: an error and a warning, in the editor's words, in UTF-16.
    change(2, 5, 2, 5, "\r\nBAD LINE");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{3, 1}}));
    change(1, 9, 1, 10, "\u00e9  ");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{1, 2}, {3, 1}}));
    const QJsonObject published = m_received.last().value("params").toObject();
    const QJsonObject warning = published.value("diagnostics").toArray()[0].toObject();
    EXPECT_EQ(warning.value("range").toObject(),
              QJsonObject({{"start", QJsonObject{{"line", 1}, {"character", 10}}},
                           {"end", QJsonObject{{"line", 1}, {"character", 16}}}}));
    EXPECT_EQ(warning.value("code"), "round-trip");
    EXPECT_EQ(published.value("diagnostics").toArray()[1].toObject().value("message"),
              "Invalid ZUNO Data Item 'BAD LINE' on line 4");
    // Lines taken out above the error renumber it.
    change(0, 0, 2, 0, "");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(std::as_const(m_received).last()["params"]["diagnostics"][0]["message"], "Invalid ZUNO Data Item 'BAD LINE' on line 2");
    notify("textDocument/didClose", QJsonObject{{"textDocument", document()}});
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{}));
    EXPECT_EQ(request("textDocument/documentSymbol", QJsonObject{{"textDocument", document()}})["error"]["code"],
              LspServer::InvalidParams);
}

TEST_F(Client, ARecordLayoutDocumentIsCheckedAsTheRecordViewWould)
{
    // A value list carried onto its continuation line; two spaces with no
    // item after them are what View > List stops at.
    open("AC:7\r\nBG:A1  PL:101,102\r\n       PL:103\r\nXX:1  JUNK");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{3, 1}}));
    EXPECT_EQ(hover(2, 8), "PL: value list of BG:A1 in AC:7, 3 values");
    // A value list with another item after it on its line takes up no
    // continuation line: it counts only its own values.
    open("AC:7\r\nBG:A1  PL:101,102,103  XX:ABC\r\n       PL:104\r\nXX:1  JUNK");
    EXPECT_EQ(hover(1, 8), "PL: value list of BG:A1 in AC:7, 3 values");
    EXPECT_EQ(hover(2, 8), "PL: value list of BG:A1 in AC:7, 1 value");
    // Breaking the continuation line away from its item makes it an item
    // of its own, still valid; the error is still found on the line after.
    change(2, 0, 2, 0, "AC:8\r\n");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{4, 1}}));
}

TEST_F(Client, SymbolsFoldingAndHoverFollowTheRecords)
{
    open(projectText());
    const QJsonArray symbols = request("textDocument/documentSymbol", QJsonObject{{"textDocument", document()}})
                                   .value("result")
                                   .toArray();
    ASSERT_EQ(symbols.size(), 2);
    EXPECT_EQ(symbols[0]["name"], "AC:1001");
    EXPECT_EQ(symbols[0]["detail"], "CENTRE LINE");
    EXPECT_EQ(symbols[0]["range"]["end"]["line"], 5);
    QStringList children;
    for (const QJsonValue &child : symbols[0]["children"].toArray())
        children.append(child["name"].toString() + u'@' + QString::number(child["range"]["start"]["line"].toInt()));
    EXPECT_EQ(children, QStringList({"BG:CL@2", "EG:CL@5"}));
    EXPECT_EQ(symbols[1]["name"], "AC:OS");

    const QJsonArray folds = request("textDocument/foldingRange", QJsonObject{{"textDocument", document()}})
                                 .value("result")
                                 .toArray();
    ASSERT_EQ(folds.size(), 2);
    EXPECT_EQ(std::make_pair(folds[0]["startLine"].toInt(), folds[0]["endLine"].toInt()), std::make_pair(0, 5));
    EXPECT_EQ(std::make_pair(folds[1]["startLine"].toInt(), folds[1]["endLine"].toInt()), std::make_pair(6, 8));

    struct Case {
        int line, character;
        QString words;
    };
    for (const Case &c : QList<Case>{
             {3, 10, "PL: value list of BG:CL in AC:1001 CENTRE LINE, 48 values"},
             {4, 0, "PL: value list of BG:CL in AC:1001 CENTRE LINE, 48 values"},
             {2, 1, "BG: line start of BG:CL in AC:1001 CENTRE LINE"},
             {0, 4, "AC: record start of AC:1001 CENTRE LINE"},
             {1, 2, "NM: item in AC:1001 CENTRE LINE"},
             {6, 0, "AC: separated record start of AC:OS"},
             {8, 3, "PL: value list of BG:K1 in AC:OS, 2 values"},
         })
        EXPECT_EQ(hover(c.line, c.character), c.words) << c.line << ':' << c.character;
    EXPECT_TRUE(request("textDocument/hover", QJsonObject{{"textDocument", document()},
                                                          {"position", QJsonObject{{"line", 99}, {"character", 0}}}})
                    .value("result")
                    .isNull());
}

TEST_F(Client, BadMessagesGetErrorAnswersAndOnlyExitEnds)
{
    struct Case {
        QByteArray body;
        int code;
    };
    for (const Case &c : QList<Case>{
             {"{not json", LspServer::ParseError},
             {"[1,2]", LspServer::InvalidRequest},
             {R"({"jsonrpc":"2.0","id":7})", LspServer::InvalidRequest},
             {R"({"jsonrpc":"2.0","id":8,"method":"no/such"})", LspServer::MethodNotFound},
             {R"({"jsonrpc":"2.0","id":9,"method":"textDocument/hover","params":{"textDocument":{"uri":"x"}}})",
              LspServer::InvalidParams},
             {R"({"jsonrpc":"2.0","id":10,"method":"textDocument/hover","params":3})", LspServer::InvalidParams},
             // Positions are whole numbers below 2^31.
             {R"({"jsonrpc":"2.0","id":11,"method":"textDocument/hover","params":{"textDocument":{"uri":")"
                  + Uri.toUtf8() + R"("},"position":{"line":0,"character":1e300}}})",
              LspServer::InvalidParams},
             {R"({"jsonrpc":"2.0","id":12,"method":"textDocument/hover","params":{"textDocument":{"uri":")"
                  + Uri.toUtf8() + R"("},"position":{"line":0.5,"character":0}}})",
              LspServer::InvalidParams},
         }) {
        if (c.body.contains("position"))
            open("AC:1");
        m_received.clear();
        EXPECT_EQ(send(c.body), std::nullopt);
        ASSERT_EQ(m_received.size(), 1) << c.body.constData();
        EXPECT_EQ(std::as_const(m_received)[0]["error"]["code"], c.code) << c.body.constData();
    }
    // A change out of range is left out; the document stays as it was.
    open("AC:1\r\nX");
    change(5, 0, 2, 0, "Y");
    EXPECT_EQ(diagnostics(), (QList<std::pair<int, int>>{{1, 1}}));
    // Shut down (null params, as some clients send them, are no params):
    // requests are refused, and exit ends with status 0.
    m_received.clear();
    send(R"({"jsonrpc":"2.0","id":"down","method":"shutdown","params":null})");
    ASSERT_EQ(m_received.size(), 1);
    EXPECT_TRUE(std::as_const(m_received)[0].contains("result"));
    EXPECT_EQ(request("textDocument/documentSymbol", QJsonObject{{"textDocument", document()}})["error"]["code"],
              LspServer::InvalidRequest);
    EXPECT_EQ(send(R"({"jsonrpc":"2.0","method":"exit","params":null})"), std::optional<int>(0));
}

TEST(LargeText, ALargeStringIsTakenOutAsTheLinesTheParserWouldGive)
{
    // Every escape, every line break of the protocol, characters beyond
    // ASCII and beyond the BMP, and a quote preceded by backslashes.
    const QString block = QStringLiteral("AC:1\r\nNM:\"Q\" \\\\\"/\t\u00e9\U0001F600\x01\nPL:1,2\rBG:\r\r\n");
    QString text = block.repeated(LargeStringBytes / block.size() + 1);
    const QByteArray body = QJsonDocument(QJsonObject{{"id", 1}, {"text", text}, {"after", "x"}}).toJson();
    const LiftedMessage lifted = liftLargeString(body);
    ASSERT_TRUE(lifted.lines.has_value());
    const QJsonObject rest = QJsonDocument::fromJson(lifted.body).object();
    EXPECT_EQ(rest, QJsonObject({{"id", 1}, {"text", liftedTextMarker()}, {"after", "x"}}));
    EXPECT_EQ(*lifted.lines, LspDocumentLines(text));
    // The escapes the parser writes as \uXXXX break lines alike.
    const QByteArray escaped = "{\"text\":\"" + QByteArray("A\\u000d\\u000aB\\u000dC\\u000a").repeated(LargeStringBytes / 8) + "\"}";
    EXPECT_EQ(liftLargeString(escaped).lines->mid(0, 4), QStringList({"A", "B", "C", "A"}));
    // Not valid: left to the parser, which says so.
    const QByteArray bad = "{\"text\":\"" + QByteArray(LargeStringBytes + 10, 'x') + "\\q\"}";
    EXPECT_FALSE(liftLargeString(bad).lines.has_value());
}

TEST(MessageReader, TakesMessagesInAnyPiecesAndSkipsBadHeaders)
{
    // A Content-Length too short leaves the rest of its body before the
    // next header, which is still read.
    const QByteArray stream = framed("{\"a\":1}") + "Content-Type: x\r\n\r\n" + "content-length: 2\r\nX-Other: 1\r\n\r\n{}"
        + "Content-Length: 3\r\n\r\n{\"b\":2}" + framed("{\"c\":3}")
        + "Content-Length: 9999999999999\r\n\r\n" + QByteArray(100, 'z');
    MessageReader reader;
    QStringList taken;
    // One byte at a time: no message is taken before it is whole.
    for (char byte : stream) {
        reader.feed(QByteArrayView(&byte, 1));
        while (auto message = reader.next())
            taken.append(message->headerError.isEmpty() ? QString::fromUtf8(message->body) : QStringLiteral("bad"));
    }
    EXPECT_EQ(taken, QStringList({"{\"a\":1}", "bad", "{}", "{\"b", "{\"c\":3}", "bad"}));
}

} // namespace
} // namespace zuno::lsp
