#include "ReplaceAllStepwise.h"

#include "text/TextFind.h"
#include "search/modFindReplaceRichText.h"

namespace zuno::test {

qint64 ReplaceAllStepwise(IEditControl &control, const QString &sReplace, const QString &sFind,
                          bool bMatchCase, bool bWholeWord)
{
    const qint64 remembered = control.selStart();
    control.beginCompoundEdit();
    control.setSelStart(0);
    qint64 count = 0;
    for (;;) {
        const qint64 searchedFrom = control.selStart() + control.selLength();
        // ReplaceOne replaces the selection when it is an occurrence: the
        // same text, or in other letter case without match case.
        const bool replaces = !sFind.isEmpty() && control.selLength() == sFind.size()
            && findText(control.selText(), sFind, 0, bMatchCase, false) == 0;
        const bool found = modFindReplaceRichText::ReplaceOne(control, sReplace, sFind, bMatchCase, bWholeWord);
        count += replaces;
        if (!found)
            break;
        // A pass that replaced nothing must at least move the search on.
        if (!replaces && control.selStart() + control.selLength() <= searchedFrom)
            break;
    }
    control.setSelStart(remembered);
    control.endCompoundEdit();
    return count;
}

} // namespace zuno::test
