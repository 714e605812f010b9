#include "search/MatchHighlight.h"

#include "search/ReplaceAllPlan.h"
#include "text/TextFind.h"
#include "text/Utf8Text.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>

#include <cstring>
#include <string_view>

namespace zuno {

SearchAnnouncer &SearchAnnouncer::instance()
{
    static SearchAnnouncer announcer;
    return announcer;
}

void announceSearch(const LastSearch &search, QObject *editor)
{
    rememberSearch(search);
    emit SearchAnnouncer::instance().searched(search, editor);
}

void announceFindTextEdited(const QString &text)
{
    emit SearchAnnouncer::instance().findTextEdited(text);
}

namespace {

bool spansLines(const LastSearch &search, const SearchExpression *expression)
{
    if (expression)
        return expression->spansLines();
    return search.text.contains(QLatin1Char('\r')) || search.text.contains(QLatin1Char('\n'));
}

// Whole lines of the text from byte `from`, about `size` of them (more
// where one line is longer), read in place.
QByteArrayView wholeLinesFrom(const IMatchMarks &marks, qint64 from, qint64 size)
{
    const qint64 length = marks.textBytes();
    for (qint64 to = std::min(length, from + size);; to = std::min(length, to + size)) {
        const QByteArrayView bytes = marks.textRange(from, to);
        if (to >= length)
            return bytes;
        const std::string_view view(bytes.data(), size_t(bytes.size()));
        const size_t lastBreak = view.rfind("\r\n");
        if (lastBreak != std::string_view::npos)
            return bytes.first(qsizetype(lastBreak) + 2);
    }
}

} // namespace

MatchHighlight::MatchHighlight(IMatchMarks &marks, QObject *parent) : QObject(parent), m_marks(marks)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &MatchHighlight::countSlice);
    m_recount.setSingleShot(true);
    m_recount.setInterval(RecountDelayMs);
    connect(&m_recount, &QTimer::timeout, this, &MatchHighlight::restartCount);
}

QString MatchHighlight::countCaption(qint64 count)
{
    if (count > CountLimit)
        return tr("more than %1").arg(QLocale(QLocale::English).toString(CountLimit));
    if (count == 1)
        return tr("1 match");
    return tr("%1 matches").arg(QLocale(QLocale::English).toString(count));
}

void MatchHighlight::show(const LastSearch &search)
{
    m_expression.reset();
    if (search.regex) {
        auto compiled = SearchExpression::compile(search.text, search.matchCase, search.wholeWord);
        if (!compiled.ok()) {
            clear();
            return;
        }
        m_expression = std::move(compiled).value();
    }
    m_search = search;
    m_markedLines = {-1, -1};
    viewChanged();
    restartCount();
}

void MatchHighlight::clear()
{
    if (m_search)
        m_marks.setMatchMarks({});
    m_search.reset();
    m_expression.reset();
    m_timer.stop();
    m_recount.stop();
    setCountText(QString());
}

void MatchHighlight::findTextEdited(const QString &text)
{
    if (m_search && m_search->text != text)
        clear();
}

void MatchHighlight::clearOnEscapeIn(QObject *editor)
{
    m_editor = editor;
    editor->installEventFilter(this);
}

void MatchHighlight::searchedIn(const LastSearch &search, QObject *editor)
{
    if (!editor || !m_editor || editor == m_editor)
        show(search);
}

bool MatchHighlight::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier && m_search)
        clear();
    return QObject::eventFilter(watched, event);
}

void MatchHighlight::viewChanged()
{
    if (!m_search)
        return;
    const Utf8Range lines = m_marks.visibleLines();
    const quint64 version = m_marks.textVersion();
    if (lines == m_markedLines && version == m_markedVersion)
        return;
    m_markedLines = lines;
    m_markedVersion = version;
    m_marks.setMatchMarks(matchesIn(*m_search, m_expression ? &*m_expression : nullptr,
                                    m_marks.textRange(lines.from, lines.to), lines.from));
}

void MatchHighlight::textChanged()
{
    if (!m_search)
        return;
    // Read once the change is in; counted again once typing pauses.
    m_markedLines = {-1, -1};
    m_timer.stop();
    setCountText(QString());
    m_recount.start();
}

void MatchHighlight::restartCount()
{
    m_recount.stop();
    m_countedTo = 0;
    m_count = 0;
    setCountText(QString());
    m_timer.start();
}

void MatchHighlight::countSlice()
{
    if (!m_search) {
        m_timer.stop();
        return;
    }
    if (m_recount.isActive()) {
        m_recount.stop();
        m_countedTo = m_count = 0;
    }
    const SearchExpression *expression = m_expression ? &*m_expression : nullptr;
    // A search that may run over lines is counted over the whole text.
    const qint64 length = m_marks.textBytes();
    const QByteArrayView slice = spansLines(*m_search, expression)
                                     ? m_marks.textRange(0, length)
                                     : wholeLinesFrom(m_marks, m_countedTo, SliceBytes);
    const qint64 to = m_countedTo + slice.size();
    if (expression) {
        RegexScan scan(*expression, slice, 0, slice.size(), 0);
        while (m_count <= CountLimit && scan.next())
            ++m_count;
    } else {
        m_count += modFindReplaceRichText::PlanReplaceAll(slice, m_search->text, m_search->text,
                                                          m_search->matchCase, m_search->wholeWord)
                       .count();
    }
    m_countedTo = to;
    if (m_count > CountLimit || m_countedTo >= length) {
        m_timer.stop();
        setCountText(countCaption(m_count));
    }
}

void MatchHighlight::setCountText(const QString &text)
{
    if (text == m_countText)
        return;
    m_countText = text;
    emit countChanged(text);
}

QList<Utf8Range> MatchHighlight::matchesIn(const LastSearch &search, const SearchExpression *expression,
                                           QByteArrayView lines, qint64 base)
{
    QList<Utf8Range> ranges;
    if (expression) {
        RegexScan scan(*expression, lines, 0, lines.size(), 0);
        while (const std::optional<RegexHit> hit = scan.next()) {
            if (hit->to > hit->from)
                ranges.append({base + hit->from, base + hit->to});
        }
        return ranges;
    }
    if (search.text.isEmpty())
        return ranges;
    const QString decoded = utf8ToText(lines);
    qsizetype counted = 0;
    qint64 bytes = base;
    for (qsizetype at = findText(decoded, search.text, 0, search.matchCase, search.wholeWord); at >= 0;
         at = findText(decoded, search.text, at + search.text.size(), search.matchCase, search.wholeWord)) {
        bytes += QStringView(decoded).sliced(counted, at - counted).toUtf8().size();
        const qint64 length = QStringView(decoded).sliced(at, search.text.size()).toUtf8().size();
        ranges.append({bytes, bytes + length});
        bytes += length;
        counted = at + search.text.size();
    }
    return ranges;
}

} // namespace zuno
