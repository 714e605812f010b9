#include "search/FindReplaceCommands.h"

#include "platform/MessageBox.h"
#include "search/FindAgain.h"
#include "search/MatchHighlight.h"
#include "search/SearchWithOptions.h"
#include "search/modFindReplaceRichText.h"

#include <QCoreApplication>

namespace zuno {

namespace {
void showInformation(IMessageBox &messages, const QString &text)
{
    // No title: the box carries the application title.
    messages.show(text, MessageButtons::Ok, MessageIcon::Information);
}

void showNotFound(IMessageBox &messages)
{
    showInformation(messages, QCoreApplication::translate("FindReplaceCommands", "Search String Not Found."));
}

// The options beyond match case and whole word are in use.
bool usesOptions(const FindReplaceValues &values)
{
    return values.regex || values.inSelection;
}

void announce(const FindReplaceValues &values)
{
    announceSearch({values.findText, values.matchCase, values.wholeWord, values.regex},
                   dynamic_cast<QObject *>(modFindReplaceRichText::Target()));
}

// The request the values make, with the range brought up to date.
SearchRequest requestOf(const FindReplaceValues &values, IEditControl &target)
{
    SearchRequest request{values.findText, values.matchCase, values.wholeWord, values.regex, std::nullopt};
    if (values.inSelection && values.scope) {
        request.scope = values.scope->resolve(target);
        request.fromScopeStart = values.scope->fresh();
    }
    return request;
}

void searched(const FindReplaceValues &values, IEditControl &target, qint64 lengthChange = 0,
              bool rangeSelected = false)
{
    if (values.scope)
        values.scope->searched(target, lengthChange, rangeSelected);
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
    IEditControl *target = modFindReplaceRichText::Target();
    if (values.iFRType == FRTypeRichText && target && usesOptions(values)) {
        const SearchOutcome outcome = FindNextWith(*target, requestOf(values, *target));
        if (!outcome.ok()) {
            showExpressionError(messages, outcome.error());
            return;
        }
        announce(values);
        searched(values, *target);
        found = outcome.value();
    } else if (values.iFRType == FRTypeRichText) {
        announce(values);
        found = modFindReplaceRichText::FindNext(values.findText, values.matchCase,
                                                 values.wholeWord);
    }
    if (!found)
        showNotFound(messages);
}

void ReplaceCommand(const FindReplaceValues &values, IMessageBox &messages)
{
    bool found = false;
    IEditControl *target = modFindReplaceRichText::Target();
    if (values.iFRType == FRTypeRichText && target && usesOptions(values)) {
        const auto outcome = ReplaceOneWith(*target, values.replaceText, requestOf(values, *target));
        if (!outcome.ok()) {
            showExpressionError(messages, outcome.error());
            return;
        }
        announce(values);
        searched(values, *target, outcome.value().lengthChange);
        found = outcome.value().found;
    } else if (values.iFRType == FRTypeRichText) {
        announce(values);
        found = modFindReplaceRichText::ReplaceOne(values.replaceText, values.findText,
                                                   values.matchCase, values.wholeWord);
    }
    if (!found)
        showNotFound(messages);
}

void ReplaceAllCommand(const std::function<FindReplaceValues()> &readValues,
                       IMessageBox &messages)
{
    const FindReplaceValues values = readValues();
    qint64 count = 0;
    IEditControl *target = modFindReplaceRichText::Target();
    if (values.iFRType == FRTypeRichText && target && usesOptions(values)) {
        const auto outcome = ReplaceAllWith(*target, values.replaceText, requestOf(values, *target));
        if (!outcome.ok()) {
            showExpressionError(messages, outcome.error());
            return;
        }
        announce(values);
        searched(values, *target, outcome.value().lengthChange, values.inSelection);
        count = outcome.value().count;
    } else if (values.iFRType == FRTypeRichText) {
        announce(values);
        count = modFindReplaceRichText::ReplaceAll(values.replaceText, values.findText,
                                                   values.matchCase, values.wholeWord);
    }
    // The texts are read again for the report.
    const FindReplaceValues after = readValues();
    showInformation(messages, ReplaceAllReport(after.findText, after.replaceText, count));
}

} // namespace zuno
