#pragma once
// modFindReplaceRichText: finding and replacing in the editor text, and the
// two procedures that open the Find/Replace dialog.
//
// The engine keeps no search state. Where a search continues is decided by
// the target's selection: a search begins just after the selected text (at
// the caret when nothing is selected) and runs to the end of the text
// without wrapping. Its only state is the target, the edit control that
// every open Find/Replace dialog works on.
#include "platform/EditControl.h"
#include "search/ReplaceAllPlan.h"

#include <QList>
#include <QString>
#include <memory>

namespace zuno {

class IMessageBox;
class frmFindReplace;

namespace modFindReplaceRichText {

// The target (rtbTarget). The engine never acts on a control that is gone:
// a control that is a QObject (the real editor) is watched and forgotten
// when it is destroyed; any other control (a test double) is shared with
// the engine through a shared_ptr and forgotten when its owners let it go.
// While there is no target every operation finds nothing.
//
// Returns false, and leaves no target, for a control that is not a QObject.
bool SetTarget(IEditControl &control);
void SetTarget(const std::shared_ptr<IEditControl> &control);
void ClearTarget();
// The current target, or nullptr.
IEditControl *Target();

// Searches the target from the end of its selection (or from the caret) for
// `sFind`; a found occurrence becomes the selection and the editor gets the
// focus. An empty find text is never found.
bool FindNext(const QString &sFind, bool bMatchCase, bool bWholeWord);

// Replaces the selection with `sReplace` when it is an occurrence of
// `sFind` (letter case aside unless bMatchCase), then searches on from the
// caret. Returns what that search returned.
bool ReplaceOne(const QString &sReplace, const QString &sFind, bool bMatchCase, bool bWholeWord);

// Replaces every occurrence from the start of the text, as one undoable
// edit; the caret goes back to where the selection started (at most the end
// of the text) and nothing stays selected. Returns the number of
// replacements made.
qint64 ReplaceAll(const QString &sReplace, const QString &sFind, bool bMatchCase, bool bWholeWord);

// The same operations on a given control rather than the target.
bool FindNext(IEditControl &control, const QString &sFind, bool bMatchCase, bool bWholeWord);
bool ReplaceOne(IEditControl &control, const QString &sReplace, const QString &sFind,
                bool bMatchCase, bool bWholeWord);
qint64 ReplaceAll(IEditControl &control, const QString &sReplace, const QString &sFind,
                  bool bMatchCase, bool bWholeWord);

// Open a new Find/Replace dialog on `rtbEditor`, in Find or in Replace mode:
// the control becomes the target, the dialog is owned by the window that
// contains the control and closes with it. Its messages go to `messages`
// when given (it must outlive the dialog), else to message boxes of its own.
// The returned dialog lives until it is closed; the caller need not keep it.
frmFindReplace *ShowFindDialog(IEditControl &rtbEditor, IMessageBox *messages = nullptr);
frmFindReplace *ShowReplaceDialog(IEditControl &rtbEditor, IMessageBox *messages = nullptr);

} // namespace modFindReplaceRichText
} // namespace zuno
