#pragma once
// Go To Line: asks for a line number and moves the caret to the start of
// that line, counting line breaks from the caret's own line.
#include "edit/GoToLineDialog.h"
#include "platform/EditControl.h"
#include "platform/MessageBox.h"

#include "Result.h"

#include <QCoreApplication>
#include <QStringView>
#include <optional>

namespace zuno {

inline QString goToNotNumericText() { return QCoreApplication::translate("modGoTo", "You must enter a numeric value"); }
inline QString goToNotNumericTitle() { return QCoreApplication::translate("modGoTo", "Invalid Line Number"); }

// Line numbers are clamped to this magnitude: far beyond any document, and
// far from overflowing when the caret's line is subtracted.
inline constexpr qint64 LineNumberLimit = 1'000'000'000'000'000'000;

// Reads an entry as a line number: optional blanks (spaces, tabs) around, an
// optional sign, ASCII digits with an optional "." and fraction, an optional
// exponent (e or E, optional sign, digits). The value is rounded to the
// nearest whole number, halves to the even one, from the exact decimal
// digits, whatever the user's locale, and clamped to +-LineNumberLimit.
// NotALineNumber comes back when the entry is not such a number, or its
// magnitude is beyond what a double holds (1e400), or it is "nan", "inf" and
// the like.
struct NotALineNumber {};
Result<qint64, NotALineNumber> readLineNumber(QStringView entry);

// Where the caret goes for line `line` (from 1), given the caret at `caret`.
// The caret's line C comes from the editor; line breaks are passed one by one
// from the caret:
// - line == C: the caret stays, except that a caret at 0 goes to 1;
// - line > C: the start of that line, or of the last line when there are
//   fewer; a caret already on the last line stays (0 goes to 1);
// - line < C: the start of that line; lines below 1 give 0.
// Reads only line numbers of offsets, never the whole text.
qint64 goToLineTarget(const IEditControl &editor, qint64 caret, qint64 line);

// The command: shows the dialog, reads the entry and moves the caret. An
// empty entry (Cancel, the close box, or OK with nothing typed) sends the
// caret to the start of the text. An entry that is not a number brings a
// warning and the dialog again, still showing it; Cancel or the close box
// then ends the command with the caret where it was.
void GoToLine(IEditControl &editor, IGoToLineDialog &dialog, IMessageBox &messages);

} // namespace zuno
