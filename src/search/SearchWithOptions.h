#pragma once
// Find Next, Replace and Replace All with the options beyond match case and
// whole word: a regular expression (RegexFind.h) for the find text, with
// captures in the replacement, and a search kept inside a range of the text
// (the selection the dialog was given). Without them the engine of
// modFindReplaceRichText does the work as it always has.
#include "platform/EditControl.h"
#include "search/FindAgain.h"
#include "search/RegexFind.h"

#include <QString>
#include <optional>

namespace zuno {

class IMessageBox;

// Offsets [from, to) of the text.
struct OffsetRange {
    qint64 from = 0;
    qint64 to = 0;
    friend bool operator==(const OffsetRange &, const OffsetRange &) = default;
};

struct SearchRequest {
    QString find;
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false;
    // Only occurrences that lie wholly inside this range count.
    std::optional<OffsetRange> scope;
    // The search begins at the range's start, not after the selection (the
    // selection is the range, chosen and not yet searched).
    bool fromScopeStart = false;
};

// Found or not, or the expression cannot be used (nothing was searched).
using SearchOutcome = Result<bool, ExpressionError>;

struct ReplaceOutcome {
    bool found = false;         // a further occurrence is selected
    qint64 lengthChange = 0;    // what the replacement added to the text
};
struct ReplaceAllOutcome {
    qint64 count = 0;
    qint64 lengthChange = 0;
};

// As FindNext: from the end of the selection (or the caret) on, the
// occurrence found selected and the editor given the focus. With a regular
// expression and nothing selected, an empty match at the caret is passed
// over, so that searching again moves on.
SearchOutcome FindNextWith(IEditControl &control, const SearchRequest &request);
// As ReplaceOne: the selection is replaced when it is an occurrence (for an
// expression, exactly what it matches there; inside the range), then the
// search goes on after the replacement.
Result<ReplaceOutcome, ExpressionError> ReplaceOneWith(IEditControl &control, const QString &replacement,
                                                       const SearchRequest &request);
// As ReplaceAll, inside the range when one is given (which is selected
// afterwards, with what the replacements added): one undoable edit;
// an expression's matches are replaced first to last, each by the
// replacement with its captures, an empty match never twice at one place.
Result<ReplaceAllOutcome, ExpressionError> ReplaceAllWith(IEditControl &control, const QString &replacement,
                                                          const SearchRequest &request);
// The last match of an expression that ends at or before `before`,
// selected, or -1 (Shift+F3).
Result<qint64, ExpressionError> FindPreviousWith(IEditControl &control, const SearchRequest &request,
                                                 qint64 before);

// F3 or Shift+F3 with a regular expression: the next match after the
// selection or the last one before it, selected; the not-found or the
// expression's message otherwise. Returns true (a search was made).
bool findAgainExpression(IEditControl &control, const LastSearch &search, bool backwards, IMessageBox &messages);

// "Invalid Regular Expression": what is wrong and where (from 1).
void showExpressionError(IMessageBox &messages, const ExpressionError &error);

// The range a dialog's "In selection" searches. It is taken from the
// selection when the option is set, and again whenever the user has chosen
// another selection since the last search; the selections the searches
// themselves leave (an occurrence found) keep it, and the replacements made
// inside it move its end.
class SearchScope {
public:
    // Takes the control's selection, when something is selected.
    void take(const IEditControl &control);
    void clear();
    // The range for the next search, brought up to date as above; none
    // when nothing was ever selected (the whole text is searched).
    std::optional<OffsetRange> resolve(const IEditControl &control);
    // After a search: the selection it left, and what its replacements
    // added to the text; `rangeSelected` when that selection is the range
    // itself (Replace All), to be searched from its start again.
    void searched(const IEditControl &control, qint64 lengthChange = 0, bool rangeSelected = false);

    std::optional<OffsetRange> range() const { return m_range; }
    // The range was chosen (or selected again) and not searched since.
    bool fresh() const { return m_range && m_fresh; }

private:
    std::optional<OffsetRange> m_range;
    qint64 m_leftStart = -1;
    qint64 m_leftLength = -1;
    bool m_fresh = false;
};

} // namespace zuno
