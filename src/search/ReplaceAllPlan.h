#pragma once
// What Replace All does to a text, worked out in one pass over the
// document's UTF-8 bytes: the byte ranges whose text is replaced, in the
// text as it was, first to last. The bytes are decoded a stretch of whole
// lines at a time, for the matching rule of findText, and never all at once.
#include "platform/EditControl.h"

#include <QList>
#include <QString>

namespace zuno::modFindReplaceRichText {

struct ReplaceAllPlan {
    QList<Utf8Range> ranges;
    qint64 count() const { return ranges.size(); }
};

// The occurrences that ReplaceOne in a loop from the start of the text
// would replace. `stretchBytes` is about how much is decoded at a time (a
// find text that holds a line break is looked for in the whole text).
ReplaceAllPlan PlanReplaceAll(QByteArrayView utf8Text, const QString &sReplace, const QString &sFind,
                              bool bMatchCase, bool bWholeWord, qsizetype stretchBytes = qsizetype(1) << 20);

} // namespace zuno::modFindReplaceRichText
