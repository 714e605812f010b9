#pragma once
// Replace All done literally: ReplaceOne in a loop from the start of the
// text, inside one compound edit. The program's ReplaceAll finds the same
// occurrences in one pass over the text and writes them as one edit; this
// loop is the reference it is checked and measured against.
#include "platform/EditControl.h"

namespace zuno::test {

qint64 ReplaceAllStepwise(IEditControl &control, const QString &sReplace, const QString &sFind,
                          bool bMatchCase, bool bWholeWord);

} // namespace zuno::test
