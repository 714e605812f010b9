#include "lsp/LspDocument.h"

#include <QCoreApplication>
#include <QJsonObject>

namespace zuno::lsp {

namespace {

class LanguageServer {
    Q_DECLARE_TR_FUNCTIONS(LanguageServer)
};

// How far back a hover looks for the record and the line item.
constexpr qsizetype LinesBack = 5000;

// The protocol's symbol kinds for a record and for a line item.
constexpr int RecordSymbolKind = 23; // Struct
constexpr int LineItemSymbolKind = 8; // Field

constexpr QStringView NameCode = u"NM:";

QStringList splitProtocolLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.sliced(start).toString());
    return lines;
}

QJsonObject position(qsizetype line, qsizetype character)
{
    return QJsonObject{{"line", line}, {"character", character}};
}

QJsonObject range(qsizetype line, qsizetype from, qsizetype toLine, qsizetype to)
{
    return QJsonObject{{"start", position(line, from)}, {"end", position(toLine, to)}};
}

// The item whose code is at `code`: up to the next run of two spaces (or
// the line's end), trimmed.
QStringView itemAt(const QString &line, const CodeSpan &code)
{
    const QStringView from = QStringView(line).sliced(code.from);
    const qsizetype gap = from.indexOf(ItemSeparator);
    return trimSpaces(gap < 0 ? from : from.first(gap));
}

bool startsRecord(ItemRole role)
{
    return role == ItemRole::RecordStart || role == ItemRole::SeparatedRecordStart;
}

QString roleWords(ItemRole role)
{
    switch (role) {
    case ItemRole::SeparatedRecordStart:
        return LanguageServer::tr("separated record start");
    case ItemRole::RecordStart:
        return LanguageServer::tr("record start");
    case ItemRole::LineStart:
        return LanguageServer::tr("line start");
    case ItemRole::ValueList:
        return LanguageServer::tr("value list");
    case ItemRole::Joined:
        break;
    }
    return LanguageServer::tr("item");
}

qsizetype valuesIn(QStringView values)
{
    qsizetype count = 0;
    for (QStringView value : values.tokenize(u',')) {
        if (!trimSpaces(value).isEmpty())
            ++count;
    }
    return count;
}

} // namespace

bool LspDocument::looksLikeRecordLayout(const QStringList &lines)
{
    // A continuation line, or a line that joins an item with two letters
    // and a colon after two spaces.
    const auto isCode = [](QStringView text) {
        return text.size() >= 3 && text[0].isUpper() && text[1].isUpper() && text[2] == u':';
    };
    for (const QString &line : lines) {
        if (line.startsWith(ContinuationIndent) && isCode(trimSpaces(line)))
            return true;
        const QStringView trimmed = trimSpaces(line);
        const qsizetype gap = trimmed.indexOf(ItemSeparator);
        if (gap > 0 && firstColon(trimmed) < gap && isCode(trimSpaces(trimmed.sliced(gap))))
            return true;
    }
    return false;
}

LspDocument::LspDocument(QStringView text)
{
    setText(text);
}

LspDocument::LspDocument(QStringList lines)
{
    setLines(std::move(lines));
}

void LspDocument::setText(QStringView text)
{
    setLines(splitProtocolLines(text));
}

void LspDocument::setLines(QStringList lines)
{
    m_lines = std::move(lines);
    if (m_lines.isEmpty())
        m_lines.append(QString());
    m_record = looksLikeRecordLayout(m_lines);
    m_states = QList<LineState>(m_lines.size());
    check(0, lineCount() - 1);
}

bool LspDocument::replace(Position from, Position to, QStringView text)
{
    if (from.line < 0 || from.character < 0 || to.character < 0 || from.line >= lineCount()
        || to.line < from.line || (to.line == from.line && to.character < from.character))
        return false;
    if (to.line >= lineCount())
        to = Position{lineCount() - 1, line(lineCount() - 1).size()};
    const QString &first = line(from.line);
    const QString &last = line(to.line);
    QString joined;
    const QStringView head = QStringView(first).first(std::min(from.character, first.size()));
    const QStringView tail = QStringView(last).sliced(std::min(to.character, last.size()));
    joined.reserve(head.size() + text.size() + tail.size());
    joined.append(head).append(text).append(tail);
    QStringList lines = splitProtocolLines(joined);
    const qsizetype added = lines.size();
    const qsizetype removed = to.line - from.line + 1;
    // Replace in place what can be, then insert or take out the rest.
    const qsizetype common = std::min(added, removed);
    for (qsizetype i = 0; i < common; ++i)
        m_lines[from.line + i] = std::move(lines[i]);
    if (added > removed) {
        m_lines.insert(from.line + common, added - removed, QString());
        for (qsizetype i = common; i < added; ++i)
            m_lines[from.line + i] = std::move(lines[i]);
        m_states.insert(from.line + common, added - removed, LineState{});
    } else if (removed > added) {
        m_lines.remove(from.line + common, removed - added);
        m_states.remove(from.line + common, removed - added);
    }
    check(from.line, from.line + added - 1);
    return true;
}

RecordLineContext LspDocument::contextBefore(qsizetype line) const
{
    RecordLineContext context;
    if (m_record && line > 0)
        context.valueListOpen = m_states[line - 1].valueListOpen;
    return context;
}

LineProblem LspDocument::problemAt(qsizetype index) const
{
    RecordLineContext context = contextBefore(index);
    return m_record ? recordLineProblem(line(index), context) : listLineProblem(line(index));
}

void LspDocument::check(qsizetype first, qsizetype last)
{
    RecordLineContext context = contextBefore(first);
    for (qsizetype i = first; i < lineCount(); ++i) {
        LineState &state = m_states[i];
        const LineState was = state;
        const LineProblem problem = m_record ? recordLineProblem(line(i), context) : listLineProblem(line(i));
        state = LineState{problem.kind, context.valueListOpen, ruleOf(problem), qint32(problem.from),
                          qint32(problem.length)};
        // Past the change, a line can only change through the value list
        // carried to it, and while it does not, nothing after it does.
        if (i > last && was.valueListOpen == state.valueListOpen && was.kind == state.kind && was.from == state.from)
            break;
    }
}

QJsonArray LspDocument::diagnostics() const
{
    QJsonArray list;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        const LineState &state = m_states[i];
        if (state.kind == ProblemKind::None)
            continue;
        // The words are made now, with the line's number as it stands.
        const LineProblem problem = problemAt(i);
        list.append(QJsonObject{{"range", range(i, state.from, i, state.from + state.length)},
                                {"severity", state.kind == ProblemKind::Error ? 1 : 2},
                                {"code", ruleId(state.rule)},
                                {"source", "zunopad"},
                                {"message", problemMessage(line(i), problem, i)}});
    }
    return list;
}

QList<CodeSpan> LspDocument::codesOf(qsizetype index) const
{
    RecordLineContext context = contextBefore(index);
    return lineCodes(line(index), m_record, context);
}

Position LspDocument::endBefore(Position next, Position start) const
{
    if (next.character > 0)
        return next;
    qsizetype last = next.line - 1;
    while (last > start.line && trimSpaces(line(last)).isEmpty())
        --last;
    return Position{last, line(last).size()};
}

std::vector<LspDocument::Part> LspDocument::outline() const
{
    std::vector<Part> records;
    Part *record = nullptr;
    Part *lineItem = nullptr;
    const auto close = [&](Part *&part, Position next) {
        if (part)
            part->end = endBefore(next, part->start);
        part = nullptr;
    };
    for (qsizetype i = 0; i < lineCount(); ++i) {
        const QString &text = line(i);
        for (const CodeSpan &code : codesOf(i)) {
            const Position at{i, code.from};
            const QString item = itemAt(text, code).toString();
            if (startsRecord(code.role)) {
                close(lineItem, at);
                close(record, at);
                records.push_back(Part{item, QString(), at, at, code.length, {}});
                record = &records.back();
            } else if (code.role == ItemRole::LineStart) {
                close(lineItem, at);
                std::vector<Part> &into = record ? record->children : records;
                into.push_back(Part{item, QString(), at, at, code.length, {}});
                lineItem = &into.back();
                if (!record)
                    record = nullptr;
            } else if (record && record->detail.isEmpty() && QStringView(text).sliced(code.from, code.length) == NameCode) {
                record->detail = item.sliced(NameCode.size());
            }
        }
    }
    const Position end{lineCount(), 0};
    close(lineItem, end);
    close(record, end);
    return records;
}

namespace {

QJsonObject symbolOf(const QString &name, const QString &detail, int kind, qsizetype line, qsizetype from,
                     qsizetype codeLength, qsizetype endLine, qsizetype endCharacter, qsizetype itemLength)
{
    QJsonObject symbol{{"name", name.isEmpty() ? QStringLiteral("?") : name},
                       {"kind", kind},
                       {"range", range(line, from, endLine, endCharacter)},
                       {"selectionRange", range(line, from, line, from + std::max(codeLength, itemLength))}};
    if (!detail.isEmpty())
        symbol.insert("detail", detail);
    return symbol;
}

} // namespace

QJsonArray LspDocument::symbols() const
{
    QJsonArray list;
    for (const Part &record : outline()) {
        // A line item before the first record stands on its own.
        const bool isRecord = record.name.size() >= 3 && record.name.startsWith(u"AC:");
        QJsonObject symbol = symbolOf(record.name, record.detail, isRecord ? RecordSymbolKind : LineItemSymbolKind,
                                      record.start.line, record.start.character, record.codeLength, record.end.line,
                                      record.end.character, record.name.size());
        QJsonArray children;
        for (const Part &item : record.children) {
            children.append(symbolOf(item.name, QString(), LineItemSymbolKind, item.start.line, item.start.character,
                                     item.codeLength, item.end.line, item.end.character, item.name.size()));
        }
        symbol.insert("children", children);
        list.append(symbol);
    }
    return list;
}

QJsonArray LspDocument::foldingRanges() const
{
    QJsonArray list;
    for (const Part &record : outline()) {
        if (record.end.line > record.start.line)
            list.append(QJsonObject{{"startLine", record.start.line}, {"endLine", record.end.line}, {"kind", "region"}});
    }
    return list;
}

bool LspDocument::continuesValueList(qsizetype index) const
{
    if (index == 0 || !startsWithValueListCode(trimSpaces(line(index))))
        return false;
    if (m_record)
        return m_states[index - 1].valueListOpen;
    return startsWithValueListCode(line(index - 1));
}

qsizetype LspDocument::valueCount(qsizetype index, const CodeSpan &hovered) const
{
    if (!continuesValueList(index)) {
        // A PL item followed by another item on its line takes up no
        // continuation lines (only a line's last item does).
        const QList<CodeSpan> codes = codesOf(index);
        if (!codes.isEmpty() && codes.last().from != hovered.from)
            return valuesIn(itemAt(line(index), hovered).sliced(hovered.length));
    }
    qsizetype head = index;
    while (head > 0 && continuesValueList(head))
        --head;
    // The head's PL item: the last item of its line.
    const QList<CodeSpan> codes = codesOf(head);
    if (codes.isEmpty())
        return 0;
    const QStringView headLine = QStringView(line(head)).sliced(codes.last().from + codes.last().length);
    qsizetype count = valuesIn(headLine);
    for (qsizetype next = head + 1; next < lineCount() && continuesValueList(next); ++next)
        count += valuesIn(trimSpaces(line(next)).sliced(ValueListCode.size()));
    return count;
}

std::optional<QString> LspDocument::hover(Position at) const
{
    if (at.line < 0 || at.line >= lineCount())
        return std::nullopt;
    // The item under the position: the last code at or before it.
    const QList<CodeSpan> codes = codesOf(at.line);
    const CodeSpan *hovered = nullptr;
    for (const CodeSpan &code : codes) {
        if (code.from <= at.character)
            hovered = &code;
    }
    if (!hovered)
        return std::nullopt;
    const QString &text = line(at.line);
    const QString code = text.sliced(hovered->from, hovered->length);
    // The record and the line item it belongs to.
    QString record;
    QString name;
    QString lineItem;
    const bool isLineStart = hovered->role == ItemRole::LineStart;
    const bool isRecordStart = startsRecord(hovered->role);
    for (qsizetype i = at.line, read = 0; i >= 0 && read < LinesBack && record.isEmpty(); --i, ++read) {
        const QList<CodeSpan> lineCodes = i == at.line ? codes : codesOf(i);
        for (auto c = lineCodes.rbegin(); c != lineCodes.rend(); ++c) {
            if (i == at.line && c->from > hovered->from)
                continue;
            const QString item = itemAt(line(i), *c).toString();
            if (lineItem.isEmpty() && !isRecordStart && c->role == ItemRole::LineStart)
                lineItem = item;
            else if (name.isEmpty() && QStringView(line(i)).sliced(c->from, c->length) == NameCode)
                name = item.sliced(NameCode.size());
            else if (startsRecord(c->role)) {
                record = item;
                break;
            }
        }
    }
    // The record's name may stand after the position.
    for (qsizetype i = at.line + 1; !record.isEmpty() && name.isEmpty() && i < lineCount() && i < at.line + 200; ++i) {
        const QList<CodeSpan> lineCodes = codesOf(i);
        if (std::any_of(lineCodes.begin(), lineCodes.end(), [](const CodeSpan &c) { return startsRecord(c.role); }))
            break;
        for (const CodeSpan &c : lineCodes) {
            if (QStringView(line(i)).sliced(c.from, c.length) == NameCode) {
                name = itemAt(line(i), c).sliced(NameCode.size()).toString();
                break;
            }
        }
    }
    QString words = code + u' ' + roleWords(hovered->role);
    const QString place = record.isEmpty() ? QString() : (name.isEmpty() ? record : record + u' ' + name);
    if (isRecordStart && !place.isEmpty())
        words = LanguageServer::tr("%1 of %2").arg(words, place);
    else if (!lineItem.isEmpty() && !isLineStart)
        words = place.isEmpty() ? LanguageServer::tr("%1 of %2").arg(words, lineItem)
                                : LanguageServer::tr("%1 of %2 in %3").arg(words, lineItem, place);
    else if (!place.isEmpty())
        words = isLineStart ? LanguageServer::tr("%1 of %2 in %3").arg(words, itemAt(text, *hovered).toString(), place)
                            : LanguageServer::tr("%1 in %2").arg(words, place);
    if (hovered->role == ItemRole::ValueList) {
        const qsizetype values = valueCount(at.line, *hovered);
        words = values == 1 ? LanguageServer::tr("%1, 1 value").arg(words)
                            : LanguageServer::tr("%1, %2 values").arg(words).arg(values);
    }
    return words;
}

} // namespace zuno::lsp
