#pragma once
// The commands behind the Find/Replace dialog's buttons, apart from the
// dialog: each takes the dialog's values and the message box to report in.
#include <QString>
#include <QtGlobal>
#include <functional>

namespace zuno {

class IMessageBox;
class SearchScope;

// The value of iFRType that binds a dialog to the editor engine; with any
// other value the buttons search nothing.
inline constexpr qint32 FRTypeRichText = 1;

// What the buttons read from the dialog.
struct FindReplaceValues {
    qint32 iFRType = 0;
    QString findText;    // txtFRFind
    QString replaceText; // txtFRReplace
    bool matchCase = false; // chkFRMatchCase
    bool wholeWord = false; // chkFRMatchWord
    bool regex = false;     // chkFRRegex: the find text is a regular expression
    bool inSelection = false; // chkFRInSelection: only inside `scope`
    SearchScope *scope = nullptr; // the dialog's range, kept between commands
};

// "Replaced 'cat' with 'dog' 2 time(s)."
QString ReplaceAllReport(const QString &findText, const QString &replaceText, qint64 count);

// "&Find Next": searches on; reports when nothing is found.
void FindNextCommand(const FindReplaceValues &values, IMessageBox &messages);
// "&Replace": replaces the selected occurrence and searches on; reports
// when nothing further is found.
void ReplaceCommand(const FindReplaceValues &values, IMessageBox &messages);
// "Replace &All": replaces every occurrence, then reads the dialog again
// and reports how many replacements were made, zero included.
void ReplaceAllCommand(const std::function<FindReplaceValues()> &readValues,
                       IMessageBox &messages);

} // namespace zuno
