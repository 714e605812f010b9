#include "search/MatchHighlight.h"

#include "search/ReplaceAllPlan.h"
#include "text/TextFind.h"
#include "text/Utf8Text.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>

#include <cstring>

namespace zuno {

SearchAnnouncer &SearchAnnouncer::instance()
{
    static SearchAnnouncer announcer;
    return announcer;
}

void announceSearch(const LastSearch &search)
{
    rememberSearch(search);
    emit SearchAnnouncer::instance().searched(search);
}

void announceFindTextEdited()
{
    emit SearchAnnouncer::instance().findTextEdited();
}

namespace {

bool spansLines(const LastSearch &search, const SearchExpression *expression)
{
    if (expression)
        return expression->spansLines();
    return search.text.contains(QLatin1Char('\r')) || search.text.contains(QLatin1Char('\n'));
}

// Just after the first "\r\n" at or beyond `from + size`, or the end.
qint64 sliceEnd(QByteArrayView text, qint64 from, qint64 size)
{
    qint64 at = std::min<qint64>(text.size(), from + size);
    while (at < text.size()) {
        const void *lf = std::memchr(text.data() + at, '\n', size_t(text.size() - at));
        if (!lf)
            break;
        at = static_cast<const char *>(lf) - text.data() + 1;
        if (at >= 2 && text[at - 2] == '\r')
            return at;
    }
    return text.size();
}

} // namespace

MatchHighlight::MatchHighlight(IEditControl &control, IMatchMarks &marks, QObject *parent)
    : QObject(parent), m_control(control), m_marks(marks)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &MatchHighlight::countSlice);
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
    setCountText(QString());
}

void MatchHighlight::clearOnEscapeIn(QObject *editor)
{
    editor->installEventFilter(this);
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
    m_marks.setMatchMarks(matchesIn(*m_search, m_expression ? &*m_expression : nullptr, m_control.utf8Text(), lines));
}

void MatchHighlight::textChanged()
{
    if (!m_search)
        return;
    // Read once the change is in.
    m_markedLines = {-1, -1};
    restartCount();
}

void MatchHighlight::restartCount()
{
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
    const QByteArrayView text = m_control.utf8Text();
    const SearchExpression *expression = m_expression ? &*m_expression : nullptr;
    // A search that may run over lines is counted over the whole text.
    const qint64 to = spansLines(*m_search, expression) ? text.size() : sliceEnd(text, m_countedTo, SliceBytes);
    const QByteArrayView slice = text.sliced(m_countedTo, to - m_countedTo);
    if (expression) {
        RegexScan scan(*expression, text, m_countedTo, to, m_countedTo);
        while (m_count <= CountLimit && scan.next())
            ++m_count;
    } else {
        m_count += modFindReplaceRichText::PlanReplaceAll(slice, m_search->text, m_search->text,
                                                          m_search->matchCase, m_search->wholeWord)
                       .count();
    }
    m_countedTo = to;
    if (m_count > CountLimit || m_countedTo >= text.size()) {
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
                                           QByteArrayView text, Utf8Range lines)
{
    QList<Utf8Range> ranges;
    lines.to = std::clamp<qint64>(lines.to, 0, text.size());
    lines.from = std::clamp<qint64>(lines.from, 0, lines.to);
    if (expression) {
        RegexScan scan(*expression, text, lines.from, lines.to, lines.from);
        while (const std::optional<RegexHit> hit = scan.next()) {
            if (hit->to > hit->from)
                ranges.append({hit->from, hit->to});
        }
        return ranges;
    }
    if (search.text.isEmpty())
        return ranges;
    const QString decoded = utf8ToText(text.sliced(lines.from, lines.to - lines.from));
    qsizetype counted = 0;
    qint64 bytes = lines.from;
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
