#include "editor/ViewConversion.h"

#include "format/Conversion.h"
#include "format/RoundTrip.h"

#include <QCoreApplication>

namespace zuno {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ViewConversion", text);
}

} // namespace

QString recordViewQuestion() { return tr("Switch to the Record view anyway?"); }
QString recordViewWarningTitle() { return tr("Record View"); }

bool ConvertToRecordViewChecked(IEditControl &editor, IMessageBox &messages)
{
    const bool wasModified = editor.isModified();
    const RecordRoundTrip trip = checkRecordRoundTrip(editor.text());
    switch (trip.outcome) {
    case RecordRoundTrip::Outcome::Invalid:
        showWarning(messages, trip.record.message, trip.record.title);
        return false;
    case RecordRoundTrip::Outcome::Changed:
        if (messages.show(trip.message + QStringLiteral("\r\n\r\n") + recordViewQuestion(), MessageButtons::YesNo,
                          MessageIcon::Warning, recordViewWarningTitle())
            != MessageResult::Yes)
            return false;
        break;
    case RecordRoundTrip::Outcome::Unchanged:
        break;
    }
    editor.setText(trip.record.text);
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
