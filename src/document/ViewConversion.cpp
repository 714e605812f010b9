#include "document/ViewConversion.h"

#include "format/ConversionMessages.h"

#include <QCoreApplication>

namespace zuno {

namespace {

// The context of this file's texts for Qt's translation tools.
class ViewConversion {
    Q_DECLARE_TR_FUNCTIONS(ViewConversion)
};

} // namespace

QString recordViewQuestion() { return ViewConversion::tr("Switch to the Record view anyway?"); }
QString recordViewWarningTitle() { return ViewConversion::tr("Record View"); }

bool ConvertToRecordViewChecked(IEditControl &editor, IMessageBox &messages, QByteArray *shown)
{
    const bool wasModified = editor.isModified();
    // The control's own bytes, read in place: a large text is never held
    // as UTF-16 on the way.
    const auto trip = checkRecordRoundTrip(editor.utf8Text());
    if (!trip.ok()) {
        showWarning(messages, conversionWarning(trip.error()), conversionWarningTitle());
        return false;
    }
    if (!trip.value().unchanged
        && messages.show(roundTripWarning(trip.value().change) + QStringLiteral("\r\n\r\n") + recordViewQuestion(),
                         MessageButtons::YesNo, MessageIcon::Warning, recordViewWarningTitle())
            != MessageResult::Yes)
        return false;
    editor.setUtf8Text(trip.value().record);
    editor.setModified(wasModified);
    if (shown)
        *shown = trip.value().record;
    return true;
}

bool ConvertToListView(IEditControl &editor, IMessageBox &messages, QByteArray *shown)
{
    const auto list = convertToListLayout(editor.utf8Text());
    if (!list.ok()) {
        showWarning(messages, conversionWarning(list.error()), conversionWarningTitle());
        return false;
    }
    editor.setUtf8Text(list.value());
    if (shown)
        *shown = list.value();
    return true;
}

} // namespace zuno
