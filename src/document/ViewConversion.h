#pragma once
// The two view conversions on the edit control: read the text once, convert
// it, set it once. An invalid line is reported in a warning titled
// "Invalid File" and leaves the text, selection and modified flag as they
// were. Both answer whether the conversion completed, so that callers can
// keep the view mode in step with the text.
#include "platform/EditControl.h"
#include "platform/MessageBox.h"

#include <QString>

namespace zuno {

// Record layout -> List layout. The change of text sets the modified flag.
// `shown`, if given, receives the text the editor now shows (shared).
bool ConvertToListView(IEditControl &editor, IMessageBox &messages, QByteArray *shown = nullptr);

// List layout -> Record layout, for View > Record. Puts the modified flag
// back as it found it. First checks that the text would come back from the
// Record layout with the same data items; when it would not, a warning names
// the first line that would change and asks whether to switch anyway, and No
// (the default) leaves everything as it was and answers false.
bool ConvertToRecordViewChecked(IEditControl &editor, IMessageBox &messages, QByteArray *shown = nullptr);

// The question that follows a round-trip warning, and the box's title.
QString recordViewQuestion();
QString recordViewWarningTitle();

} // namespace zuno
