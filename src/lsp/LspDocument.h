#pragma once
// A document opened by a language client: its lines as the protocol counts
// them (split at "\r\n", "\n" or "\r"; positions in UTF-16 units), kept
// current through the client's changes, and what the editor would show of
// them: the problems, checked again only where a change reaches, the
// records with their line items, the folding of records, and what an item
// is. A document is read in the List layout unless it was opened in the
// Record layout (a line that joins two items, or a continuation line), as
// the Record view would read it.

#include "format/DataItem.h"
#include "format/FileProblems.h"

#include <QJsonArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zuno::lsp {

struct Position {
    qsizetype line = 0;
    qsizetype character = 0;
};

class LspDocument {
public:
    explicit LspDocument(QStringView text);
    // The document of these lines.
    explicit LspDocument(QStringList lines);

    // Replaces the whole text; the layout is told again.
    void setText(QStringView text);
    void setLines(QStringList lines);
    // Replaces the text from `from` to `to` (a position past the end of a
    // line or of the document stands for that end). False, changing
    // nothing, when `from` lies after `to` or beyond the last line.
    bool replace(Position from, Position to, QStringView text);

    bool isRecordLayout() const { return m_record; }
    qsizetype lineCount() const { return m_lines.size(); }
    const QString &line(qsizetype index) const { return m_lines[index]; }

    // Each as the protocol's JSON: Diagnostic[], DocumentSymbol[],
    // FoldingRange[].
    QJsonArray diagnostics() const;
    QJsonArray symbols() const;
    QJsonArray foldingRanges() const;
    // What the item at the position is, or nothing where there is no item:
    // "PL: value list of BG:CL in AC:1001 CENTRE LINE, 48 values".
    std::optional<QString> hover(Position at) const;

    // Whether a text reads as the Record layout.
    static bool looksLikeRecordLayout(const QStringList &lines);

private:
    struct LineState {
        ProblemKind kind = ProblemKind::None;
        bool valueListOpen = false; // after this line (Record layout)
        ProblemRule rule = ProblemRule::InvalidItem;
        qint32 from = 0;
        qint32 length = 0;
    };
    // Checks lines from `first` on: at least up to `last`, and beyond while
    // the value list carried from line to line differs from before.
    void check(qsizetype first, qsizetype last);
    RecordLineContext contextBefore(qsizetype line) const;
    LineProblem problemAt(qsizetype line) const;
    QList<CodeSpan> codesOf(qsizetype line) const;
    // The number of values of the PL item whose code is `hovered` on the
    // line, or that the line continues.
    qsizetype valueCount(qsizetype line, const CodeSpan &hovered) const;
    bool continuesValueList(qsizetype line) const;

    // A record or a line item of the outline.
    struct Part {
        QString name;   // "AC:1001", "BG:CL"
        QString detail; // the record's name: "CENTRE LINE"
        Position start;
        Position end;
        qsizetype codeLength = 0;
        std::vector<Part> children;
    };
    std::vector<Part> outline() const;
    // Where a part that ends before `next` (a line's start or an item's)
    // ends: the end of the last non-empty line before it.
    Position endBefore(Position next, Position start) const;

    // Qt's lists move their items as bytes: a line put in or taken out in
    // the middle of a large document costs one move of memory.
    QStringList m_lines;
    QList<LineState> m_states;
    bool m_record = false;
};

} // namespace zuno::lsp
