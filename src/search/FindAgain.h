#pragma once
// Find Again (F3, Shift+F3): the last Find Next repeated from the caret,
// forwards or backwards, without a dialog.
#include "platform/EditControl.h"

#include <QString>
#include <optional>

namespace zuno {

class IMessageBox;

// What the last Find Next looked for.
struct LastSearch {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false; // the text is a regular expression
};

// Noted by every Find Next of a Find/Replace dialog.
void rememberSearch(const LastSearch &search);
// Forgotten when the program starts again (and by the tests).
void forgetSearch();
std::optional<LastSearch> lastSearch();

enum class SearchDirection { Forward, Backward };

// The occurrence of `search.text` that ends at or before `before` and starts
// last, selected, or -1 when there is none. Like the forward search it does
// not wrap.
qint64 findPrevious(IEditControl &control, const LastSearch &search, qint64 before);

// Repeats the last search on `control`: forwards from the end of the
// selection, backwards from its start. A found occurrence becomes the
// selection; otherwise "Search String Not Found." is shown. False when
// nothing has been searched for yet (the caller opens Find).
bool FindAgain(IEditControl &control, SearchDirection direction, IMessageBox &messages);

} // namespace zuno
