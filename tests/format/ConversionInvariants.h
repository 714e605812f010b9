#pragma once
// What every conversion must keep, shared by the property tests and the
// fuzz target (which links no test framework).
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zuno::test {

// The lines of a text: split at every "\r\n" and at nothing else. An empty
// text has none.
inline QList<QStringView> splitLines(QStringView text)
{
    return text.isEmpty() ? QList<QStringView>() : text.split(u"\r\n");
}

// The characters that neither conversion adds, drops or moves: everything but
// spaces, commas, the letters and colon of "PL:" and line breaks.
inline QString invariantCharacters(QStringView text)
{
    QString kept;
    for (QChar ch : text) {
        if (ch != u' ' && ch != u',' && ch != u'P' && ch != u'L' && ch != u':' && ch != u'\r' && ch != u'\n')
            kept += ch;
    }
    return kept;
}

// The data items of a List text as the List layout reads them, written out
// plainly: every line trimmed of spaces, empty lines dropped, and the values
// of consecutive PL lines joined into one PL item, with a comma between two
// lines unless one already ends or begins the join.
inline QStringList listDataItems(QStringView text)
{
    QStringList items;
    bool previousValueList = false;
    for (QStringView line : text.split(u"\r\n")) {
        while (!line.isEmpty() && line.front() == u' ')
            line = line.sliced(1);
        while (!line.isEmpty() && line.back() == u' ')
            line.chop(1);
        if (line.isEmpty())
            continue;
        const bool valueList = line.startsWith(u"PL:");
        if (valueList && previousValueList) {
            const QStringView values = line.sliced(3);
            if (!items.last().endsWith(u',') && !values.startsWith(u','))
                items.last() += u',';
            items.last() += values;
        } else {
            items.append(line.toString());
        }
        previousValueList = valueList;
    }
    return items;
}

} // namespace zuno::test
