#pragma once
// What every conversion must keep, shared by the property tests and the
// fuzz target (which links no test framework).
#include <QString>
#include <QStringView>

namespace zuno::test {

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

} // namespace zuno::test
