#pragma once
// A document of many megabytes comes as one JSON string in didOpen (or in a
// change that replaces the whole text). Parsing it with the rest of the
// message would hold it three times (the JSON tree, its QString, the
// lines) and cost most of the time to open it; instead the one large string
// is taken out of the message before it is parsed, in place of a marker,
// and decoded straight into the document's lines.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zuno::lsp {

// Strings longer than this (in bytes, escaped) are taken out.
inline constexpr qsizetype LargeStringBytes = qsizetype(1) << 20;

// Stands in the message for the string taken out.
QString liftedTextMarker();

struct LiftedMessage {
    QByteArray body;                  // with the marker for the large string
    std::optional<QStringList> lines; // the string's lines, as the protocol splits them
};

// The first string of the message longer than LargeStringBytes, taken out
// and decoded into lines; the message as it is when it holds none, or when
// that string is not valid JSON (the parser then says so).
LiftedMessage liftLargeString(const QByteArray &body);

} // namespace zuno::lsp
