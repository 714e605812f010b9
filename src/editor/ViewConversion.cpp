#include "editor/ViewConversion.h"

#include "format/Conversion.h"

namespace zuno {

bool ConvertToRecordView(IEditControl &editor, IMessageBox &messages)
{
    const bool wasModified = editor.isModified();
    const ConversionResult result = convertToRecordLayout(editor.text());
    if (!result.ok) {
        showWarning(messages, result.message, result.title);
        return false;
    }
    editor.setText(result.text);
    editor.setModified(wasModified);
    return true;
}

bool ConvertToListView(IEditControl &editor, IMessageBox &messages)
{
    const ConversionResult result = convertToListLayout(editor.text());
    if (!result.ok) {
        showWarning(messages, result.message, result.title);
        return false;
    }
    editor.setText(result.text);
    return true;
}

} // namespace zuno
