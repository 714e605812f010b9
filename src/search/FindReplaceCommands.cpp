#include "search/FindReplaceCommands.h"

#include "platform/MessageBox.h"
#include "search/FindAgain.h"
#include "search/modFindReplaceRichText.h"

#include <QCoreApplication>

namespace zuno {

namespace {
void showInformation(IMessageBox &messages, const QString &text)
{
    // No title: the box carries the application title.
    messages.show(text, MessageButtons::Ok, MessageIcon::Information);
}
} // namespace

QString ReplaceAllReport(const QString &findText, const QString &replaceText, qint64 count)
{
    return QCoreApplication::translate("FindReplaceCommands", "Replaced '%1' with '%2' %3 time(s).")
        .arg(findText, replaceText, QString::number(count));
}

void FindNextCommand(const FindReplaceValues &values, IMessageBox &messages)
{
    bool found = false;
    if (values.iFRType == FRTypeRichText) {
        rememberSearch({values.findText, values.matchCase, values.wholeWord});
        found = modFindReplaceRichText::FindNext(values.findText, values.matchCase,
                                                 values.wholeWord);
    }
    if (!found)
        showInformation(messages, QCoreApplication::translate("FindReplaceCommands", "Search String Not Found."));
}

void ReplaceCommand(const FindReplaceValues &values, IMessageBox &messages)
{
    bool found = false;
    if (values.iFRType == FRTypeRichText)
        found = modFindReplaceRichText::ReplaceOne(values.replaceText, values.findText,
                                                   values.matchCase, values.wholeWord);
    if (!found)
        showInformation(messages, QCoreApplication::translate("FindReplaceCommands", "Search String Not Found."));
}

void ReplaceAllCommand(const std::function<FindReplaceValues()> &readValues,
                       IMessageBox &messages)
{
    const FindReplaceValues values = readValues();
    qint64 count = 0;
    if (values.iFRType == FRTypeRichText)
        count = modFindReplaceRichText::ReplaceAll(values.replaceText, values.findText,
                                                   values.matchCase, values.wholeWord);
    // The texts are read again for the report.
    const FindReplaceValues after = readValues();
    showInformation(messages, ReplaceAllReport(after.findText, after.replaceText, count));
}

} // namespace zuno
