#include "search/FindAgain.h"

#include "platform/MessageBox.h"
#include "text/TextFind.h"
#include "text/Utf8Text.h"
#include "search/SearchWithOptions.h"
#include "search/modFindReplaceRichText.h"

#include <QCoreApplication>

namespace zuno {

namespace {

std::optional<LastSearch> &lastSearchHeld()
{
    static std::optional<LastSearch> held;
    return held;
}

// A backward search decodes about this many bytes of whole lines at a time.
constexpr qsizetype ChunkBytes = 1 << 20;

// The start of the line that holds byte `position`.
qsizetype lineStartBefore(QByteArrayView utf8, qsizetype position)
{
    while (position > 0 && utf8[position - 1] != '\n')
        --position;
    return position;
}

// The last occurrence in `text` that ends at or before `limit`.
qsizetype lastOccurrence(QStringView text, const LastSearch &search, qsizetype limit)
{
    qsizetype last = -1;
    for (qsizetype from = 0;;) {
        const qsizetype at = findText(text, search.text, from, search.matchCase, search.wholeWord);
        if (at < 0 || at + search.text.size() > limit)
            return last;
        last = at;
        from = at + 1;
    }
}

} // namespace

void rememberSearch(const LastSearch &search) { lastSearchHeld() = search; }
void forgetSearch() { lastSearchHeld().reset(); }
std::optional<LastSearch> lastSearch() { return lastSearchHeld(); }

qint64 findPrevious(IEditControl &control, const LastSearch &search, qint64 before)
{
    if (search.text.isEmpty() || before <= 0)
        return -1;
    if (search.text.contains(QLatin1Char('\r')) || search.text.contains(QLatin1Char('\n'))) {
        // An occurrence that may span lines: the whole text at once.
        const qsizetype at = lastOccurrence(utf8ToText(control.utf8Text()), search, before);
        if (at >= 0) {
            control.setSelStart(at);
            control.setSelLength(search.text.size());
        }
        return at;
    }
    const QByteArrayView utf8 = control.utf8Text();
    const qsizetype endByte = utf8PositionOf(utf8, before);
    // The rest of the caret's line is read too: whether an occurrence ends
    // a word depends on the character after it.
    qsizetype lineEnd = utf8.indexOf('\n', endByte);
    lineEnd = lineEnd < 0 ? utf8.size() : lineEnd + 1;
    // Offsets of the chunk's start, counted back from `before`.
    qsizetype chunkEnd = lineEnd;
    qint64 unitsAtEndByte = before;
    qsizetype limitByte = endByte;
    while (chunkEnd > 0) {
        const qsizetype chunkStart = lineStartBefore(utf8, std::max<qsizetype>(0, limitByte - ChunkBytes));
        const QString chunk = utf8ToText(utf8.sliced(chunkStart, chunkEnd - chunkStart));
        const qsizetype limit = utf8ToText(utf8.sliced(chunkStart, limitByte - chunkStart)).size();
        const qsizetype at = lastOccurrence(chunk, search, limit);
        const qint64 chunkOffset = unitsAtEndByte - limit;
        if (at >= 0) {
            const qint64 offset = chunkOffset + at;
            control.setSelStart(offset);
            control.setSelLength(search.text.size());
            return offset;
        }
        // Next, the lines before this chunk; an occurrence without a line
        // break never crosses into them.
        chunkEnd = chunkStart;
        limitByte = chunkStart;
        unitsAtEndByte = chunkOffset;
    }
    return -1;
}

bool FindAgain(IEditControl &control, SearchDirection direction, IMessageBox &messages)
{
    const std::optional<LastSearch> search = lastSearch();
    if (!search)
        return false;
    if (search->regex)
        return findAgainExpression(control, *search, direction == SearchDirection::Backward, messages);
    bool found = false;
    if (direction == SearchDirection::Forward) {
        found = modFindReplaceRichText::FindNext(control, search->text, search->matchCase, search->wholeWord);
    } else {
        found = findPrevious(control, *search, control.selStart()) >= 0;
        if (found)
            control.setFocus();
    }
    if (!found)
        messages.show(QCoreApplication::translate("FindReplaceCommands", "Search String Not Found."),
                      MessageButtons::Ok, MessageIcon::Information);
    return true;
}

} // namespace zuno
