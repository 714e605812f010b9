#pragma once
// The tests' texts for an edit control, written and read as UTF-16 strings
// through the control's one text form (UTF-8 bytes).
#include "platform/EditControl.h"
#include "text/Utf8Text.h"

namespace zuno::test {

inline QString textOf(const IEditControl &control)
{
    return utf8ToText(control.utf8Text());
}

inline void setTextOf(IEditControl &control, const QString &text)
{
    control.setUtf8Text(text.toUtf8());
}

} // namespace zuno::test
