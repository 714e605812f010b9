#pragma once
// The two view conversions on the edit control: read the text once, convert
// it, set it once. An invalid line is reported in a warning titled
// "Invalid File" and leaves the text, selection and modified flag as they
// were. Both answer whether the conversion completed, so that callers can
// keep the view mode in step with the text.
#include "platform/EditControl.h"
#include "platform/MessageBox.h"

namespace zuno {

// List layout -> Record layout. Puts the modified flag back as it found it.
bool ConvertToRecordView(IEditControl &editor, IMessageBox &messages);
// Record layout -> List layout. The change of text sets the modified flag.
bool ConvertToListView(IEditControl &editor, IMessageBox &messages);

} // namespace zuno
