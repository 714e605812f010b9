#include "text/TextLines.h"

namespace zuno {

QList<TextLineSpan> splitTextLines(QByteArrayView text)
{
    QList<TextLineSpan> lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype at = 0; at < size; ++at) {
        const char c = text[at];
        if (c != '\r' && c != '\n')
            continue;
        const qint64 breakLength = (c == '\r' && at + 1 < size && text[at + 1] == '\n') ? 2 : 1;
        lines.append({start, at - start, breakLength});
        at += breakLength - 1;
        start = at + 1;
    }
    lines.append({start, size - start, 0});
    return lines;
}

} // namespace zuno
