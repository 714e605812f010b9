#include "lsp/LargeText.h"

#include <cstring>

namespace zuno::lsp {

namespace {

constexpr QByteArrayView MarkerJson = "\"\\u0001zunopad:lifted-text\\u0001\"";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes the escaped content of a JSON string into lines split at "\r\n",
// "\n" and "\r"; nothing when it is not valid.
std::optional<QStringList> decodeLines(const char *p, const char *end)
{
    QStringList lines;
    QString line;
    bool pendingReturn = false; // a "\r" just ended a line: a "\n" after it is part of that break
    const auto breakLine = [&] {
        lines.append(std::move(line));
        line = QString();
    };
    while (p < end) {
        const char *escape = static_cast<const char *>(std::memchr(p, '\\', size_t(end - p)));
        const char *stop = escape ? escape : end;
        if (stop > p) {
            pendingReturn = false;
            const QString piece = QString::fromUtf8(p, stop - p);
            if (line.isEmpty())
                line = piece;
            else
                line.append(piece);
        }
        if (!escape)
            break;
        if (escape + 1 >= end)
            return std::nullopt;
        const char kind = escape[1];
        p = escape + 2;
        const bool afterReturn = pendingReturn;
        pendingReturn = false;
        switch (kind) {
        case 'r':
            breakLine();
            pendingReturn = true;
            break;
        case 'n':
            if (!afterReturn)
                breakLine();
            break;
        case '"':
        case '\\':
        case '/':
            line.append(QChar(kind));
            break;
        case 't':
            line.append(u'\t');
            break;
        case 'b':
            line.append(u'\b');
            break;
        case 'f':
            line.append(u'\f');
            break;
        case 'u': {
            if (end - p < 4)
                return std::nullopt;
            int unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = hexValue(p[i]);
                if (digit < 0)
                    return std::nullopt;
                unit = unit * 16 + digit;
            }
            p += 4;
            if (unit == '\r') {
                breakLine();
                pendingReturn = true;
            } else if (unit == '\n') {
                if (!afterReturn)
                    breakLine();
            } else {
                line.append(QChar(char16_t(unit)));
            }
            break;
        }
        default:
            return std::nullopt;
        }
    }
    lines.append(std::move(line));
    return lines;
}

} // namespace

QString liftedTextMarker()
{
    return QStringLiteral("\u0001zunopad:lifted-text\u0001");
}

LiftedMessage liftLargeString(const QByteArray &body)
{
    if (body.size() < LargeStringBytes)
        return LiftedMessage{body, std::nullopt};
    const char *const begin = body.constData();
    const char *const end = begin + body.size();
    const char *p = begin;
    while (p < end) {
        const char *open = static_cast<const char *>(std::memchr(p, '"', size_t(end - p)));
        if (!open)
            break;
        // The string's end: the next quote not escaped.
        const char *close = open + 1;
        for (;;) {
            close = static_cast<const char *>(std::memchr(close, '"', size_t(end - close)));
            if (!close)
                return LiftedMessage{body, std::nullopt};
            qsizetype backslashes = 0;
            while (close - 1 - backslashes > open && close[-1 - backslashes] == '\\')
                ++backslashes;
            if (backslashes % 2 == 0)
                break;
            ++close;
        }
        if (close - open - 1 > LargeStringBytes) {
            auto lines = decodeLines(open + 1, close);
            if (!lines)
                return LiftedMessage{body, std::nullopt};
            QByteArray rest;
            rest.reserve((open - begin) + MarkerJson.size() + (end - close - 1));
            rest.append(begin, open - begin).append(MarkerJson).append(close + 1, end - close - 1);
            return LiftedMessage{std::move(rest), std::move(lines)};
        }
        p = close + 1;
    }
    return LiftedMessage{body, std::nullopt};
}

} // namespace zuno::lsp
